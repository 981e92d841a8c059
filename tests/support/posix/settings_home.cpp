#include "support/settings_home.h"

#include <cstdlib>

namespace tav::test {

namespace {
constexpr const char* kVariable = "XDG_CONFIG_HOME";
}  // namespace

SettingsHome::SettingsHome(const std::string& folder) {
  if (const char* value = std::getenv(kVariable)) previous_ = value;
  ::setenv(kVariable, folder.c_str(), 1);
}

SettingsHome::~SettingsHome() {
  if (previous_) {
    ::setenv(kVariable, previous_->c_str(), 1);
  } else {
    ::unsetenv(kVariable);
  }
}

std::string_view SettingsHome::settings_file() { return "tavrelon/Tavrelon.GYD"; }

}  // namespace tav::test
