// The texts the main flow shows: the status line, the captions of BUTTON4,
// and the scan's message boxes.
#pragma once

#include <string_view>

#include "worklist/execution.h"

namespace tav::flow_text {

inline constexpr std::string_view kStartPrompt = " 「方向ボタン」を押すと検索を開始します。";
inline constexpr std::string_view kSearching = " を検索中";  // after the folder's path
inline constexpr std::string_view kScanDone =
    "検索完了！　　再度 「方向ボタン」を押すと処理を開始します。Ｗクリックでリストの取消ができます。";
inline constexpr std::string_view kDone = "処理完了！　";

inline constexpr std::string_view kStopCaption = "中　止";
inline constexpr std::string_view kEndCaption = "終  了";

inline constexpr std::string_view kNoSubfoldersCaption = "サブディレクトリ検索";
inline constexpr std::string_view kNoSubfolders = "照合先に対象となる親ディレクトリが存在しません";
inline constexpr std::string_view kNothingFoundCaption = "検索完了！";
inline constexpr std::string_view kNothingFound =
    "作成・更新・削除の対象となるファイルがありませんでした";

// Entries the execution left, each with its reason after its path. The
// first lead says why when every reason is a change made after the scan.
inline constexpr std::string_view kLeftCaption = "処理完了！";
inline constexpr std::string_view kLeftLead =
    "次のファイルは検索した後に変更されたため、処理しませんでした";
inline constexpr std::string_view kLeftLeadAnyReason = "次のファイル・フォルダは処理しませんでした";

// After the end box of a run whose copies the medium did not all give
// back, around their number.
inline constexpr std::string_view kUnconfirmedCaption = "ドライブの確認";
inline constexpr std::string_view kUnconfirmedLead = "書き込んだ内容を読み出して確かめたところ、";
inline constexpr std::string_view kUnconfirmedCount =
    " 件が一致しませんでした。ドライブが故障しているか、表示より容量の少ない偽装品のおそれがあります。"
    "このドライブには大切なデータを保存しないでください。";

// Undoing the last run.
inline constexpr std::string_view kUndoCaption = "前回の処理を元に戻す";
inline constexpr std::string_view kNothingToUndo = "元に戻す処理がありません";
inline constexpr std::string_view kUndoLead = "前回の処理を次のとおり元に戻します";
inline constexpr std::string_view kPutBackWord = "(戻す) ";
inline constexpr std::string_view kRemoveWord = "(削除) ";

struct LeftText {
  LeftReason why;
  std::string_view mark;
  bool changed_after_the_scan;
};
inline constexpr LeftText kLeftTexts[] = {
    {LeftReason::Changed, "（変更あり）", true},
    {LeftReason::Missing, "（見つかりません）", true},
    {LeftReason::FolderGained, "（検索後に追加されたファイルあり）", true},
    {LeftReason::HoldsLeft, "（残したファイルあり）", true},
    {LeftReason::FileInTheWay, "（同名のファイルを削除しないため）", false},
    {LeftReason::FolderInTheWay, "（同名のフォルダを削除しないため）", false},
    {LeftReason::FolderNotMade, "（フォルダを作成しないため）", false},
    {LeftReason::ChangedSinceRun, "（処理の後に変更されたため）", false},
    {LeftReason::NotKept, "（空き容量が足りないため保存せずに置き換え）", false},
    {LeftReason::NotConfirmed, "（書き込んだ内容を確認できません）", false},
};
// A run's files replaced without keeping the ones they replaced, each with
// its NotKept mark: in the same box, after what was left.
inline constexpr std::string_view kNotKeptLead = "次のファイルは以前の版を保存せずに置き換えました";

}  // namespace tav::flow_text
