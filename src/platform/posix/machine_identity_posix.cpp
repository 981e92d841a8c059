// This computer's identity on Linux: the machine id that the system (or
// D-Bus, on systems of its own) gives an installation, else the host name.
#include <systemd/sd-id128.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <fstream>
#include <iterator>
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

// systemd's own derivation of an application's machine ID: the one the
// system documents for IDs that leave the computer. It reads /etc/machine-id
// alone; without it (a chroot, a container, a system without systemd) no
// machine ID is keyed, not even D-Bus's copy, and the host name serves.
std::string app_machine_id() {
  sd_id128_t app{};
  std::copy(kApplicationId.begin(), kApplicationId.end(), app.bytes);
  sd_id128_t derived{};
  if (::sd_id128_get_machine_app_specific(app, &derived) < 0) {
    return host_app_machine_id(host_name());
  }
  std::array<std::uint8_t, 16> bytes{};
  std::copy(std::begin(derived.bytes), std::end(derived.bytes), bytes.begin());
  return app_machine_id_text(bytes);
}

}  // namespace tav
