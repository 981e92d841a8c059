// The texts of the drive types as the system reports them (0 to 6), which
// every drive list entry shows after its key.
#pragma once

#include <string_view>

namespace tav {

// Drive type values as the system reports them, for the platforms that
// classify their volumes themselves.
namespace drive_type {
inline constexpr int kRemovable = 2;
inline constexpr int kFixed = 3;
inline constexpr int kRemote = 4;
inline constexpr int kCdRom = 5;
inline constexpr int kRamDisk = 6;
}  // namespace drive_type

// The text of a type value; empty for a value without one.
std::string_view drive_type_text(int type);

}  // namespace tav
