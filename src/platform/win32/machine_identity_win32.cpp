// This computer's identity on Windows: the identity of the installation in
// the registry, else the computer's name.
#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>

#include <algorithm>
#include <array>
#include <optional>

#include "platform/machine_identity.h"
#include "platform/win32/hmac_win32.h"
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

int hex_digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The 16 bytes the installation's identity spells, in the order of its hex
// digits (as Linux's machine id is read): the hyphens of its GUID form and
// braces around it are left out. None when it spells anything else.
std::optional<std::array<std::uint8_t, 16>> identity_bytes(const std::string& identity) {
  std::array<std::uint8_t, 16> bytes{};
  std::size_t digits = 0;
  for (const char c : identity) {
    if (c == '-' || c == '{' || c == '}') continue;
    const int value = hex_digit_value(c);
    if (value < 0 || digits == 2 * bytes.size()) return std::nullopt;
    bytes[digits / 2] = static_cast<std::uint8_t>(bytes[digits / 2] << 4 | value);
    ++digits;
  }
  if (digits != 2 * bytes.size()) return std::nullopt;
  return bytes;
}

}  // namespace

namespace win32 {

std::vector<std::uint8_t> hmac_sha256(std::span<const std::uint8_t> key,
                                      std::span<const std::uint8_t> message) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                    BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
    return {};
  }
  std::vector<std::uint8_t> code(32);
  BCRYPT_HASH_HANDLE hash = nullptr;
  // The key and the message go through pointers to bytes the calls only read.
  const bool done =
      BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0,
                                        const_cast<PUCHAR>(key.data()),
                                        static_cast<ULONG>(key.size()), 0)) &&
      BCRYPT_SUCCESS(::BCryptHashData(hash, const_cast<PUCHAR>(message.data()),
                                      static_cast<ULONG>(message.size()), 0)) &&
      BCRYPT_SUCCESS(::BCryptFinishHash(hash, code.data(), static_cast<ULONG>(code.size()), 0));
  if (hash != nullptr) ::BCryptDestroyHash(hash);
  ::BCryptCloseAlgorithmProvider(algorithm, 0);
  if (!done) code.clear();
  return code;
}

}  // namespace win32

std::string machine_id() {
  if (std::string id = installation_identity(); !id.empty()) return id;
  return "host:" + computer_name();
}

// The derivation systemd applies to Linux's machine id, with the
// installation's identity as the machine ID.
std::string app_machine_id() {
  if (const auto key = identity_bytes(installation_identity())) {
    const std::vector<std::uint8_t> code = win32::hmac_sha256(*key, kApplicationId);
    if (code.size() >= 16) {
      std::array<std::uint8_t, 16> bytes{};
      std::copy_n(code.begin(), bytes.size(), bytes.begin());
      return app_machine_id_text(bytes);
    }
  }
  return host_app_machine_id(computer_name());
}

}  // namespace tav
