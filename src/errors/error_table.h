// Every run-time error the program raises, one row each: its name, its
// number and the message shown under the report line. The names are the
// err:: constants; the system codes' table (platform/system_codes.h) names
// the error each code raises.
#pragma once

#include <string_view>

// clang-format off
#define TAV_RUNTIME_ERRORS(X)                                                \
  X(ListSpace,        4,    "リストに追加する領域が足りません。")            \
  X(BadArgument,      5,    "関数の呼び出しまたは引数が正しくありません。")  \
  X(OutOfMemory,      7,    "メモリが不足しています。")                      \
  X(OutOfRange,       9,    "配列の添字が範囲を超えています。")              \
  X(SystemRefused,    27,   "システムがファイル操作を拒否しました。")        \
  X(EndOfDisk,        28,   "ディスクの終わりに達しました。")                \
  X(BadNumber,        50,   "番号が範囲外です。")                            \
  X(AlreadyOpen,      52,   "既に開かれています。")                          \
  X(PastTheEnd,       54,   "検索の終わりを超えて読もうとしました。")        \
  X(BadFileName,      55,   "ファイル名が正しくありません。")                \
  X(NotOpen,          57,   "開かれていません。")                            \
  X(CannotOpen,       59,   "ファイルを開けません。")                        \
  X(DiskIo,           60,   "ディスクの読み書きでエラーが発生しました。")    \
  X(DiskFull,         61,   "ディスクがいっぱいです。")                      \
  X(PathNotFound,     63,   "ファイルまたはパスが見つかりません。")          \
  X(AlreadyExists,    64,   "ファイルまたはフォルダが既に存在します。")      \
  X(TooManyOpen,      66,   "これ以上ファイルを開けません。")                \
  X(DeviceError,      67,   "デバイスのエラーです。")                        \
  X(DiskNotReady,     71,   "ディスクの準備ができていません。")              \
  X(BadDrive,         72,   "ドライブが正しくありません。")                  \
  X(WriteProtected,   73,   "ディスクが書き込み禁止です。")                  \
  X(AccessDenied,     75,   "パスまたはファイルへのアクセスが拒否されました。") \
  X(NoControl,        1000, "コントロールが存在しません。")                  \
  X(ControlTaken,     1001, "コントロールは既に割り当てられています。")      \
  X(Unsupported,      1002, "このコントロールではできない操作です。")        \
  X(ControlArgument,  1005, "引数が正しくありません。")                      \
  X(NoResource,       1010, "リソースが見つかりません。")                    \
  X(NoMetafile,       1011, "メタファイルを作成できません。")                \
  X(NoFormData,       1012, "フォームデータがありません。")                  \
  X(ControlNotFound,  1013, "コントロールが見つかりません。")                \
  X(CannotOpenWindow, 1014, "ウィンドウをオープンできません。")              \
  X(ListRefused,      1016, "リストボックスに項目を追加できません。")        \
  X(ComboRefused,     1017, "コンボボックスに項目を追加できません。")
// clang-format on

namespace tav::err {

#define TAV_NAME_RUNTIME_ERROR(name, number, message) inline constexpr int k##name = number;
TAV_RUNTIME_ERRORS(TAV_NAME_RUNTIME_ERROR)
#undef TAV_NAME_RUNTIME_ERROR

}  // namespace tav::err
