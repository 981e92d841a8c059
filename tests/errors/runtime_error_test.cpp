#include "errors/runtime_error.h"

#include <gtest/gtest.h>

#include "errors/error_report.h"
#include "support/expect_error.h"

namespace tav {
namespace {

TEST(SystemCodes, TranslateByTheTable) {
  const std::pair<std::uint32_t, int> rows[] = {
      {1, 5},    {2, 63},   {3, 63},   {5, 75},   {8, 7},    {19, 73},   {32, 75},
      {50, 28},  {80, 64},  {112, 67}, {183, 64}, {267, 55}, {1155, 55},
  };
  for (const auto& [code, number] : rows) EXPECT_EQ(error_number_of_system_code(code), number) << code;
}

TEST(SystemCodes, UnlistedCodesGive27) {
  for (const std::uint32_t code : {0u, 6u, 145u, 206u, 1117u, 0xFFFFFFFFu}) {
    EXPECT_EQ(error_number_of_system_code(code), 27) << code;
  }
}

TEST(RuntimeErrors, CarryTheCallersPlace) {
  const auto error = test::raised_by([] { raise_error(9, 0xBB01); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->file(), "runtime_error_test.cpp");
  EXPECT_EQ(error->line(), static_cast<unsigned>(__LINE__ - 3));
  EXPECT_FALSE(error->system_code());

  const auto refused = test::raised_by([] { raise_system_error(145, 0xC0000C02); });
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->number(), 27);
  EXPECT_EQ(refused->system_code(), 145u);
}

TEST(ErrorReport, LineTitleAndMessage) {
  const RuntimeError error(75, 0xC0000201, std::source_location::current(), 5);
  const ErrorReport report = build_error_report(error, program_name_of("C:\\x\\Tavrelon.exe"));
  EXPECT_EQ(report.title, "Tavrelon.EXE");
  const std::string line = "\r\nruntime_error_test.cpp [" + std::to_string(error.line()) +
                           "行]:エラー[75]";
  EXPECT_EQ(report.text, line + "\n" + std::string(error_message(75)));
  EXPECT_EQ(program_name_of("/usr/bin/tavrelon"), "tavrelon");
  EXPECT_EQ(program_name_of("a.b.exe"), "a.b");
}

TEST(ErrorReport, EveryNumberTheProgramRaisesHasAMessage) {
  const int numbers[] = {4,  5,  7,  9,  27, 28, 50, 52, 54, 55, 57, 59, 60, 61, 63, 64,
                         66, 67, 71, 72, 73, 75, 1000, 1001, 1002, 1005, 1013, 1016, 1017};
  for (const int number : numbers) EXPECT_FALSE(error_message(number).empty()) << number;
  // A number without a message shows the report line alone.
  const RuntimeError unknown(12345, 0, std::source_location::current());
  EXPECT_EQ(build_error_report(unknown, "Tavrelon").text, report_line(unknown));
}

TEST(ErrorReport, StartupFailureTexts) {
  EXPECT_EQ(startup_failure_text(1), "メモリが足りません");
  EXPECT_EQ(startup_failure_text(3), "ウィンドウをオープンできません");
  EXPECT_EQ(startup_failure_text(8), "メタファイルが作成できません");
  EXPECT_EQ(startup_failure_text(9), "");
}

TEST(LastErrorRecord, SplitsTheDetailWord) {
  const RuntimeError error(64, 0xC0000A02, std::source_location::current(), 183);
  const auto record = make_last_error_record(error, "2024/05/07 09:05:30");
  EXPECT_EQ(record.modl, "runtime_error_test.cpp");
  EXPECT_EQ(record.code, 64u);
  EXPECT_EQ(record.func, 0xC0000Au);
  EXPECT_EQ(record.info, 0x02u);
  EXPECT_EQ(record.apierr, 183u);
  EXPECT_EQ(record.mode, "独立型");
  EXPECT_EQ(record.rtl, "V6.30 L10 U002+1");
}

TEST(LastErrorRecord, LocalTimeText) {
  // 2001-03-08 22:05:00 UTC is 2001-03-09 07:05:00 in Tokyo.
  EXPECT_EQ(local_time_text(984089100), "2001/03/09 07:05:00");
}

}  // namespace
}  // namespace tav
