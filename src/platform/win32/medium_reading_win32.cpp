// Reading past the cache on Windows: a file opened without buffering is
// read from its medium in whole sectors into sector-aligned memory (the
// system writes out what it still caches of the file first).
#include "platform/medium_reading.h"

#include <windows.h>

#include <algorithm>

#include "platform/system_faults.h"
#include "platform/win32/wide.h"

namespace tav::sys {

namespace {

constexpr DWORD kSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

Handle open_reading(std::string_view path, DWORD flags) {
  return reinterpret_cast<Handle>(::CreateFileW(win32::widen(path).c_str(), GENERIC_READ, kSharing,
                                                nullptr, OPEN_EXISTING, flags, nullptr));
}

}  // namespace

// A file system that cannot read without buffering (some network
// redirectors) refuses the flag: the file is read as it gives it.
Handle open_from_medium(std::string_view path) {
  if (fails_by_plan(Call::Open)) return kNoHandle;
  const Handle file = open_reading(path, FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN);
  if (file != kNoHandle || ::GetLastError() != ERROR_INVALID_PARAMETER) return file;
  return open_reading(path, FILE_FLAG_SEQUENTIAL_SCAN);
}

std::ptrdiff_t read_from_medium(Handle file, char* buffer, std::size_t size) {
  if (fails_by_plan(Call::Read)) return -1;
  // Whole sectors: a size cut to fit a DWORD stays a multiple of them.
  const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, std::size_t{1} << 30));
  DWORD got = 0;
  if (!::ReadFile(reinterpret_cast<HANDLE>(file), buffer, chunk, &got, nullptr)) return -1;
  return got;
}

}  // namespace tav::sys
