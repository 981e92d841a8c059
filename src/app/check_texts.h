// The texts of the checks made before anything is changed: what the
// destination cannot take, its free space, and the drive the preview was
// made on.
#pragma once

#include <string_view>

#include "worklist/destination_rules.h"

namespace tav::check_text {

inline constexpr std::string_view kDestinationCaption = "移動先の確認";
inline constexpr std::string_view kRefusedHeading =
    "次のファイル・フォルダは移動先のドライブに保存できないため、リストからはずしました";

struct RefusalText {
  Refusal why;
  std::string_view text;  // after the entry's path
};
inline constexpr RefusalText kRefusalTexts[] = {
    {Refusal::Characters, "（使えない文字）"},
    {Refusal::ReservedName, "（予約された名前）"},
    {Refusal::LongName, "（長すぎる名前）"},
    {Refusal::BigFile, "（4GB以上のファイル）"},
    {Refusal::CaseTwin, "（大文字小文字だけ違う名前）"},
};

// The free-space question, around the two sizes in MB.
inline constexpr std::string_view kSpaceShort = "移動先のドライブの空き容量が足りない可能性があります";
inline constexpr std::string_view kSpaceNeeded = "必要な容量: ";
inline constexpr std::string_view kSpaceFree = "空き容量: ";
inline constexpr std::string_view kMegabytes = " MB";
inline constexpr std::string_view kSpaceQuestion = "処理を開始しますか";

inline constexpr std::string_view kDriveCaption = "ドライブの確認";
inline constexpr std::string_view kDriveChanged =
    "検索した後にドライブが変わったか、取り外されました。\r\rもう一度検索してください。";

}  // namespace tav::check_text
