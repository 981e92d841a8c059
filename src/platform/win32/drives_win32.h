// Drives by letter.
#pragma once

#include "platform/drives.h"

namespace tav::win32 {

// The drive of a letter and a drive type value: "E: " and the type's text
// (the letter and ": " alone for a type without one), root "E:\".
Drive drive_of_letter(char letter, int type);

}  // namespace tav::win32
