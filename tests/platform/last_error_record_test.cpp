#include <gtest/gtest.h>

#include "errors/error_report.h"
#include "support/last_error_store.h"

namespace tav {
namespace {

TEST(LastErrorStore, KeepsEveryValueUnderItsName) {
  test::OwnLastErrorStore store;
  LastErrorRecord record{"execution.cpp", 120, 75, 0xC00002, 0x01,
                         "2024/05/07 09:05:30", "独立型", "V6.30 L10 U002+1", std::nullopt};
  std::map<std::string, test::OwnLastErrorStore::Value> expected{
      {"MODL", "execution.cpp"}, {"LINE", 120u}, {"CODE", 75u}, {"FUNC", 0xC00002u},
      {"INFO", 1u}, {"TIME", "2024/05/07 09:05:30"}, {"MODE", "独立型"},
      {"RTL", "V6.30 L10 U002+1"}};
  store_last_error_record(record);
  EXPECT_EQ(store.values(), expected);

  // An error that the system reported keeps the system's code as well.
  record.apierr = 5;
  expected["APIERR"] = 5u;
  store_last_error_record(record);
  EXPECT_EQ(store.values(), expected);
}

}  // namespace
}  // namespace tav
