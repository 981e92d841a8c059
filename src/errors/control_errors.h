// Run-time errors of the control operations, as every window layer reports
// them: a number of the error table, and a detail word with 0x8000 in its
// top 16 bits and the operation's family byte above the step byte.
#pragma once

#include <cstdint>

namespace tav {

// The operation families.
namespace family {
inline constexpr std::uint8_t kListAdd = 0x01;
inline constexpr std::uint8_t kCheckState = 0x04;
inline constexpr std::uint8_t kListSelected = 0x15;
inline constexpr std::uint8_t kListItemText = 0x1A;
inline constexpr std::uint8_t kListClear = 0x1D;
inline constexpr std::uint8_t kSetFontBold = 0x4E;
inline constexpr std::uint8_t kSetFontSize = 0x52;
inline constexpr std::uint8_t kSetEnabled = 0xBD;
inline constexpr std::uint8_t kGetText = 0xC6;
inline constexpr std::uint8_t kMessageBox = 0xCE;
inline constexpr std::uint8_t kSetVisible = 0xD3;
inline constexpr std::uint8_t kSetSize = 0xD4;
inline constexpr std::uint8_t kSetText = 0xD5;
inline constexpr std::uint8_t kWaitForEvent = 0xD6;
}  // namespace family

constexpr std::uint32_t control_error_detail(std::uint8_t operation_family) {
  return 0x80000000u | (std::uint32_t{operation_family} << 8) | 0x01u;
}

[[noreturn]] void raise_control_error(int number, std::uint8_t operation_family);

}  // namespace tav
