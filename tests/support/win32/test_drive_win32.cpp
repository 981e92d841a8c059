#include <windows.h>

#include <stdexcept>

#include "platform/win32/wide.h"
#include "support/test_drive.h"

namespace tav::test {

namespace {

// Tests run in parallel in one Wine prefix, where drive letters are shared:
// a named mutex makes choosing a free letter one step at a time.
class LetterLock {
 public:
  LetterLock() : mutex_(::CreateMutexW(nullptr, FALSE, L"TavrelonTestDriveLetters")) {
    ::WaitForSingleObject(mutex_, INFINITE);
  }
  ~LetterLock() {
    ::ReleaseMutex(mutex_);
    ::CloseHandle(mutex_);
  }

 private:
  HANDLE mutex_;
};

std::wstring device(char letter) { return std::wstring(1, static_cast<wchar_t>(letter)) + L":"; }

}  // namespace

TestDrive::TestDrive(const std::string& folder) {
  LetterLock lock;
  const DWORD used = ::GetLogicalDrives();
  for (char letter = 'F'; letter <= 'P'; ++letter) {
    if (used & (1u << (letter - 'A'))) continue;
    if (::DefineDosDeviceW(0, device(letter).c_str(), win32::widen(folder).c_str())) {
      drive_ = {std::string(1, letter) + ": 固定ディスク", std::string(1, letter) + ":\\"};
      return;
    }
  }
  throw std::runtime_error("no free drive letter for the test");
}

TestDrive::~TestDrive() {
  LetterLock lock;
  ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, device(drive_.root[0]).c_str(), nullptr);
}

}  // namespace tav::test
