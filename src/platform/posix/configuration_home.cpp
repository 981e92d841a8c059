#include "platform/posix/configuration_home.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace tav::posix {

namespace {

// $HOME, or the home folder of the user's account when it is not set.
std::string home_folder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir) {
    return account->pw_dir;
  }
  return {};
}

}  // namespace

std::string configuration_home() {
  // A relative XDG_CONFIG_HOME is to be ignored: it would depend on the
  // current folder.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
  return home_folder() + "/.config";
}

}  // namespace tav::posix
