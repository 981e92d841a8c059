// The Windows system error codes the program produces or compares, each with
// its name (after the system's own ERROR_ name) and the run-time error it
// raises (a name of errors/error_table.h): SystemRefused where the code has
// none of its own. Other platforms translate their codes to these.
#pragma once

#include <cstdint>

#define TAV_SYSTEM_CODES(X)                 \
  X(InvalidFunction, 1, BadArgument)        \
  X(FileNotFound, 2, PathNotFound)          \
  X(PathNotFound, 3, PathNotFound)          \
  X(TooManyOpenFiles, 4, TooManyOpen)       \
  X(AccessDenied, 5, AccessDenied)          \
  X(NotEnoughMemory, 8, OutOfMemory)        \
  X(BadFormat, 11, DiskNotReady)            \
  X(InvalidAccess, 12, AccessDenied)        \
  X(OutOfMemory, 14, OutOfMemory)           \
  X(InvalidDrive, 15, BadDrive)             \
  X(CurrentDirectory, 16, BadDrive)         \
  X(NotSameDevice, 17, BadDrive)            \
  X(NoMoreFiles, 18, DeviceError)           \
  X(WriteProtect, 19, WriteProtected)       \
  X(BadUnit, 20, DiskIo)                    \
  X(NotReady, 21, PathNotFound)             \
  X(NotDosDisk, 26, DiskNotReady)           \
  X(SectorNotFound, 27, DiskNotReady)       \
  X(OutOfPaper, 28, DiskIo)                 \
  X(WriteFault, 29, DeviceError)            \
  X(ReadFault, 30, PastTheEnd)              \
  X(GenFailure, 31, SystemRefused)          \
  X(SharingViolation, 32, AccessDenied)     \
  X(LockViolation, 33, AccessDenied)        \
  X(WrongDisk, 34, DiskIo)                  \
  X(HandleDiskFull, 39, DeviceError)        \
  X(NotSupported, 50, EndOfDisk)            \
  X(DevNotExist, 55, PathNotFound)          \
  X(NetworkAccessDenied, 65, BadFileName)   \
  X(FileExists, 80, AlreadyExists)          \
  X(InvalidParameter, 87, BadArgument)      \
  X(DriveLocked, 108, CannotOpen)           \
  X(OpenFailed, 110, PathNotFound)          \
  X(BufferOverflow, 111, DiskFull)          \
  X(DiskFull, 112, DeviceError)             \
  X(NoMoreSearchHandles, 113, TooManyOpen)  \
  X(InvalidName, 123, BadFileName)          \
  X(DirNotEmpty, 145, SystemRefused)        \
  X(AlreadyExists, 183, AlreadyExists)      \
  X(FileNameTooLong, 206, SystemRefused)    \
  X(DirectoryNameInvalid, 267, BadFileName) \
  X(NoSuchDevice, 433, PathNotFound)        \
  X(FileInvalid, 1006, PathNotFound)        \
  X(MediaChanged, 1110, PathNotFound)       \
  X(NoMediaInDrive, 1112, PathNotFound)     \
  X(IoDevice, 1117, SystemRefused)          \
  X(NoAssociation, 1155, BadFileName)       \
  X(DeviceNotConnected, 1167, PathNotFound) \
  X(DeviceRemoved, 1617, PathNotFound)      \
  X(CantResolveFileName, 1921, SystemRefused)

namespace tav::sys {

using Code = std::uint32_t;

#define TAV_NAME_SYSTEM_CODE(name, code, error) inline constexpr Code k##name = code;
TAV_SYSTEM_CODES(TAV_NAME_SYSTEM_CODE)
#undef TAV_NAME_SYSTEM_CODE

}  // namespace tav::sys
