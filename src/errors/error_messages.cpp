// The message texts shown under the report line, one per error number the
// program can raise (its own checks and every number of the system table).
#include <array>
#include <utility>

#include "errors/error_report.h"

namespace tav {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 33> kMessages{{
    {4, "リストに追加する領域が足りません。"},
    {5, "関数の呼び出しまたは引数が正しくありません。"},
    {7, "メモリが不足しています。"},
    {9, "配列の添字が範囲を超えています。"},
    {27, "システムがファイル操作を拒否しました。"},
    {28, "ディスクの終わりに達しました。"},
    {50, "番号が範囲外です。"},
    {52, "既に開かれています。"},
    {54, "検索の終わりを超えて読もうとしました。"},
    {55, "ファイル名が正しくありません。"},
    {57, "開かれていません。"},
    {59, "ファイルを開けません。"},
    {60, "ディスクの読み書きでエラーが発生しました。"},
    {61, "ディスクがいっぱいです。"},
    {63, "ファイルまたはパスが見つかりません。"},
    {64, "ファイルまたはフォルダが既に存在します。"},
    {66, "これ以上ファイルを開けません。"},
    {67, "デバイスのエラーです。"},
    {71, "ディスクの準備ができていません。"},
    {72, "ドライブが正しくありません。"},
    {73, "ディスクが書き込み禁止です。"},
    {75, "パスまたはファイルへのアクセスが拒否されました。"},
    {1000, "コントロールが存在しません。"},
    {1001, "コントロールは既に割り当てられています。"},
    {1002, "このコントロールではできない操作です。"},
    {1005, "引数が正しくありません。"},
    {1010, "リソースが見つかりません。"},
    {1011, "メタファイルを作成できません。"},
    {1012, "フォームデータがありません。"},
    {1013, "コントロールが見つかりません。"},
    {1014, "ウィンドウをオープンできません。"},
    {1016, "リストボックスに項目を追加できません。"},
    {1017, "コンボボックスに項目を追加できません。"},
}};

constexpr std::array<std::string_view, 8> kStartupFailures{
    "メモリが足りません",
    "システムに異常があります",
    "ウィンドウをオープンできません",
    "デバイスコンテキストを作成できません",
    "グラフィックビットマップを作成できません",
    "リソースが見つかりません",
    "フォームデータがありません",
    "メタファイルが作成できません",
};

}  // namespace

std::string_view error_message(int number) {
  for (const auto& [n, text] : kMessages) {
    if (n == number) return text;
  }
  return {};
}

std::string_view startup_failure_text(int index) {
  if (index < 1 || index > static_cast<int>(kStartupFailures.size())) return {};
  return kStartupFailures[static_cast<std::size_t>(index - 1)];
}

}  // namespace tav
