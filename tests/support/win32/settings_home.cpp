// The Windows program keeps its settings file in the current folder: there
// is nothing to point elsewhere.
#include "support/settings_home.h"

namespace tav::test {

SettingsHome::SettingsHome(const std::string&) {}

SettingsHome::~SettingsHome() = default;

std::string_view SettingsHome::settings_file() { return "Tavrelon.GYD"; }

}  // namespace tav::test
