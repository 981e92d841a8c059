// This computer's identity on Linux: the machine id that the system (or
// D-Bus, on systems of its own) gives an installation, else the host name.
#include <unistd.h>

#include <array>
#include <climits>
#include <fstream>
#include <string_view>

#include "platform/machine_identity.h"

namespace tav {

namespace {

constexpr std::array<const char*, 2> kIdFiles{"/etc/machine-id", "/var/lib/dbus/machine-id"};

// A machine id is 32 hex digits and a line end: a file far longer holds
// none.
constexpr std::streamsize kLongestRead = 256;

// The file's text without the blanks around it; empty when it cannot be
// read.
std::string trimmed_content(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::string text(kLongestRead, '\0');
  file.read(text.data(), kLongestRead);
  text.resize(static_cast<std::size_t>(file.gcount()));
  constexpr std::string_view kBlanks = " \t\r\n";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string host_name() {
  std::array<char, HOST_NAME_MAX + 1> name{};
  if (::gethostname(name.data(), name.size() - 1) != 0) return {};
  return name.data();
}

}  // namespace

std::string machine_id() {
  for (const char* path : kIdFiles) {
    if (std::string id = trimmed_content(path); !id.empty()) return id;
  }
  return "host:" + host_name();
}

}  // namespace tav
