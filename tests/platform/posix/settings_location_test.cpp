#include "platform/settings_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/settings_file.h"
#include "support/settings_home.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

// Sets HOME for the life of the object.
class HomeAt {
 public:
  explicit HomeAt(const std::string& folder) {
    if (const char* home = std::getenv("HOME")) previous_ = home;
    ::setenv("HOME", folder.c_str(), 1);
  }
  ~HomeAt() {
    if (previous_) {
      ::setenv("HOME", previous_->c_str(), 1);
    } else {
      ::unsetenv("HOME");
    }
  }

 private:
  std::optional<std::string> previous_;
};

TEST(SettingsLocation, WithoutAnAbsoluteXdgConfigHomeItIsTheConfigFolderInHome) {
  test::TempTree tree;
  const HomeAt home(tree.root());
  const test::SettingsHome relative("relative/config");
  EXPECT_EQ(settings_file_path(kSettingsFileName, SettingsAccess::kRead),
            tree.root() + "/.config/tavrelon/Tavrelon.GYD");
  EXPECT_FALSE(tree.exists(".config"));
  write_settings({"/data", "B: USB"});
  EXPECT_EQ(tree.read(".config/tavrelon/Tavrelon.GYD"), encode_settings({"/data", "B: USB"}));
}

}  // namespace
}  // namespace tav
