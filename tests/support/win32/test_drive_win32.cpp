#include <windows.h>

#include <stdexcept>

#include "support/test_drive.h"

namespace tav::test {

// The test runner maps these letters to scratch folders of their own. Tests
// run in parallel in one Wine prefix: a named mutex per letter says which
// test holds it, and is released by the system if the test dies.
namespace {

constexpr char kFirstLetter = 'F';
constexpr char kLastLetter = 'P';

void release(HANDLE mutex) {
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
}

}  // namespace

TestDrive::TestDrive() {
  for (;;) {
    for (char letter = kFirstLetter; letter <= kLastLetter; ++letter) {
      const std::wstring name = L"TavrelonTestDrive" + std::wstring(1, static_cast<wchar_t>(letter));
      const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
      const DWORD got = ::WaitForSingleObject(mutex, 0);
      if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED) {
        ::CloseHandle(mutex);
        continue;
      }
      hold_ = std::shared_ptr<void>(mutex, release);
      const std::string root = std::string(1, letter) + ":";
      if (::GetFileAttributesW(std::wstring(1, static_cast<wchar_t>(letter)).append(L":\\").c_str()) ==
          INVALID_FILE_ATTRIBUTES) {
        throw std::runtime_error("drive " + root + " is not mapped by the test runner");
      }
      drive_ = {root + " 固定ディスク", root + "\\"};
      tree_ = std::make_unique<TempTree>(TempTree::Adopt{}, root);
      return;
    }
    ::Sleep(50);
  }
}

TestDrive::~TestDrive() {
  tree_.reset();
  hold_.reset();
}

}  // namespace tav::test
