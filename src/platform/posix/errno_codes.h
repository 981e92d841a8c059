// Translation of errno values to the Windows system error codes that the
// rest of the program understands.
#pragma once

#include <string_view>

#include "platform/system_codes.h"

namespace tav::sys {

// path is the path the failing call was given: a missing entry is
// kFileNotFound when its folder exists and kPathNotFound otherwise, as
// Windows tells them apart; EIO is a drive gone (kDeviceNotConnected) when
// the volume path is on is no longer there.
Code code_of_errno(int error, std::string_view path);

// An errno value that stands for code (EIO where none is closer; ENODEV for
// a code of a drive gone that no errno value of its own stands for).
int errno_of_code(Code code);

}  // namespace tav::sys
