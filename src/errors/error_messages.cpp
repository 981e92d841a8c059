// The message texts shown under the report line, from the table of errors,
// and the texts of the window layer's start-up failures.
#include <array>

#include "errors/error_report.h"

namespace tav {

namespace {

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
  switch (number) {  // the compiler refuses a number listed twice
#define TAV_MESSAGE_OF_ERROR(name, error_number, message) case error_number: return message;
    TAV_RUNTIME_ERRORS(TAV_MESSAGE_OF_ERROR)
#undef TAV_MESSAGE_OF_ERROR
  }
  return {};
}

std::string_view startup_failure_text(int index) {
  if (index < 1 || index > static_cast<int>(kStartupFailures.size())) return {};
  return kStartupFailures[static_cast<std::size_t>(index - 1)];
}

}  // namespace tav
