// This computer's identity on Windows: the identity of the installation in
// the registry, else the computer's name.
#include <windows.h>

#include <array>

#include "platform/machine_identity.h"
#include "platform/win32/wide.h"

namespace tav {

namespace {

// Kept in the 64-bit view of the registry: a 32-bit program's own view of a
// 64-bit system does not hold it.
std::string installation_identity() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
    return {};
  }
  std::array<wchar_t, 128> value{};
  DWORD size = sizeof value;
  const LSTATUS status = ::RegGetValueW(key, nullptr, L"MachineGuid", RRF_RT_REG_SZ, nullptr,
                                        value.data(), &size);
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS ? win32::narrow(value.data()) : std::string();
}

std::string computer_name() {
  std::array<wchar_t, MAX_COMPUTERNAME_LENGTH + 1> name{};
  DWORD length = name.size();
  return ::GetComputerNameW(name.data(), &length) ? win32::narrow(name.data()) : std::string();
}

}  // namespace

std::string machine_id() {
  if (std::string id = installation_identity(); !id.empty()) return id;
  return "host:" + computer_name();
}

}  // namespace tav
