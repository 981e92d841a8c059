// The Windows system error codes the program produces or compares, each with
// its name (after the system's own ERROR_ name) and the run-time error number
// it raises: 27, the error without a number of its own, where the code has
// none. Other platforms translate their codes to these.
#pragma once

#include <cstdint>

#define TAV_SYSTEM_CODES(X)        \
  X(InvalidFunction, 1, 5)         \
  X(FileNotFound, 2, 63)           \
  X(PathNotFound, 3, 63)           \
  X(TooManyOpenFiles, 4, 66)       \
  X(AccessDenied, 5, 75)           \
  X(NotEnoughMemory, 8, 7)         \
  X(BadFormat, 11, 71)             \
  X(InvalidAccess, 12, 75)         \
  X(OutOfMemory, 14, 7)            \
  X(InvalidDrive, 15, 72)          \
  X(CurrentDirectory, 16, 72)      \
  X(NotSameDevice, 17, 72)         \
  X(NoMoreFiles, 18, 67)           \
  X(WriteProtect, 19, 73)          \
  X(BadUnit, 20, 60)               \
  X(NotReady, 21, 72)              \
  X(NotDosDisk, 26, 71)            \
  X(SectorNotFound, 27, 71)        \
  X(OutOfPaper, 28, 60)            \
  X(WriteFault, 29, 67)            \
  X(ReadFault, 30, 54)             \
  X(GenFailure, 31, 27)            \
  X(SharingViolation, 32, 75)      \
  X(LockViolation, 33, 75)         \
  X(WrongDisk, 34, 60)             \
  X(HandleDiskFull, 39, 67)        \
  X(NotSupported, 50, 28)          \
  X(NetworkAccessDenied, 65, 55)   \
  X(FileExists, 80, 64)            \
  X(InvalidParameter, 87, 5)       \
  X(DriveLocked, 108, 59)          \
  X(OpenFailed, 110, 63)           \
  X(BufferOverflow, 111, 61)       \
  X(DiskFull, 112, 67)             \
  X(NoMoreSearchHandles, 113, 66)  \
  X(InvalidName, 123, 55)          \
  X(DirNotEmpty, 145, 27)          \
  X(AlreadyExists, 183, 64)        \
  X(FileNameTooLong, 206, 27)      \
  X(DirectoryNameInvalid, 267, 55) \
  X(IoDevice, 1117, 27)            \
  X(NoAssociation, 1155, 55)       \
  X(CantResolveFileName, 1921, 27)

namespace tav::sys {

using Code = std::uint32_t;

#define TAV_NAME_SYSTEM_CODE(name, code, number) inline constexpr Code k##name = code;
TAV_SYSTEM_CODES(TAV_NAME_SYSTEM_CODE)
#undef TAV_NAME_SYSTEM_CODE

}  // namespace tav::sys
