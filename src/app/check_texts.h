// The texts of the checks made before anything is changed: what the
// destination cannot take, its free space, and the drive the preview was
// made on.
#pragma once

#include <string_view>

#include "worklist/destination_rules.h"
#include "worklist/record_withdrawal.h"

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

// Names one side holds twice (the same in Unicode form, or in case where
// a volume ignores it): left out after the search.
inline constexpr std::string_view kSameNamesHeading =
    "次のファイル・フォルダは同じ名前のものが片側に２つあるため、リストからはずしました";
inline constexpr std::string_view kSameNameTwice = "（同じ名前が２つあります）";

// The free-space question, around the two sizes in MB.
inline constexpr std::string_view kSpaceShort = "移動先のドライブの空き容量が足りない可能性があります";
inline constexpr std::string_view kSpaceNeeded = "必要な容量: ";
inline constexpr std::string_view kSpaceFree = "空き容量: ";
inline constexpr std::string_view kMegabytes = " MB";
inline constexpr std::string_view kSpaceQuestion = "処理を開始しますか";

// What the record of the last run protects, after the scan.
inline constexpr std::string_view kRecordCaption = "前回の処理との照合";
inline constexpr std::string_view kRecordHeading =
    "次のファイル・フォルダは前回の処理の後に作成または変更されたため、リストからはずしました";

inline constexpr std::string_view kRecordUnreadable =
    "前回の記録を読めませんでした（初回として扱います）";

// A side whose clock moved since the last run, around the hours it moved.
inline constexpr std::string_view kDriveClockMoved = "ドライブの時刻が ";
inline constexpr std::string_view kFolderClockMoved = "フォルダの時刻が ";
inline constexpr std::string_view kClockMovedBy = " 時間ずれていました（前回の記録に合わせました）";

// A first run of a pair on a drive that other folders are synchronised with.
inline constexpr std::string_view kOtherPairsCaption = "同期記録の確認";
inline constexpr std::string_view kOtherPairsLead = "このドライブは次のフォルダとも同期しています。";
inline constexpr std::size_t kOtherPairsShown = 5;
inline constexpr std::string_view kOtherPairsMore = "ほか ";
inline constexpr std::string_view kOtherPairsCount = " 件";
inline constexpr std::string_view kOtherPairsQuestion = " 件のファイルを削除または置き換えます。続けますか？";

struct UnrecordedText {
  state::Unrecorded why;
  std::string_view text;  // after the entry's path
};
inline constexpr UnrecordedText kUnrecordedTexts[] = {
    {state::Unrecorded::MadeSince, "（前回の後に作成）"},
    {state::Unrecorded::ChangedSince, "（前回の後に変更）"},
    {state::Unrecorded::ChangedOnBoth, "（両方で変更）"},
};

// What makes room, in the free-space question: kept runs released (their
// number and room), then files replaced without keeping (their number and
// the room that saves); and the question for what is offered.
inline constexpr std::string_view kSpaceRunsReleased = "以前の処理で残したファイル（";
inline constexpr std::string_view kSpaceRunsFree = " 回分）を削除すると空く容量: ";
inline constexpr std::string_view kSpaceUnkeptFree =
    " 件のファイルを以前の版を保存せずに置き換えると空く容量: ";
inline constexpr std::string_view kSpaceReleaseQuestion =
    "以前の処理で残したファイルを古いものから削除して、処理を開始しますか";
inline constexpr std::string_view kSpaceReleaseLatestQuestion =
    "直近の処理で残したファイルも含めて、以前の処理で残したファイルを古いものから削除して、"
    "処理を開始しますか";
inline constexpr std::string_view kSpaceUnkeptQuestion =
    "足りない分のファイルを以前の版を保存せずに置き換えて、処理を開始しますか";
inline constexpr std::string_view kSpaceReleaseUnkeptQuestion =
    "以前の処理で残したファイルをすべて削除し、足りない分のファイルを以前の版を保存せずに"
    "置き換えて、処理を開始しますか";

// A run that would delete most of the destination asks first.
inline constexpr std::string_view kDeletionCaption = "削除の確認";
inline constexpr std::string_view kDeletionOf = "移動先のファイル ";
inline constexpr std::string_view kDeletionCount = " 件のうち ";
inline constexpr std::string_view kDeletionWill = " 件を削除します。";
inline constexpr std::string_view kDeletionQuestion = "処理を開始しますか";

inline constexpr std::string_view kDriveCaption = "ドライブの確認";
inline constexpr std::string_view kDriveChanged =
    "検索した後にドライブが変わったか、取り外されました。\r\rもう一度検索してください。";

}  // namespace tav::check_text
