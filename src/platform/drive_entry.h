// The entries of the drive list: a drive letter, ": " and the text of the
// drive's type as the system reports it (0 to 6).
#pragma once

#include <string>
#include <string_view>

#include "platform/window.h"

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

// Type values without a text give the letter and ": " alone.
Drive make_drive(char letter, int type);

}  // namespace tav
