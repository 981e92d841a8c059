// Links a stick may hold, reached beneath a root by the Windows program.
// Where the system makes no link of its own but the program runs under
// Wine, the test makes a Linux link through Wine, which shows it as a
// reparse point by its path but opens its target when asked for the link.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/beneath.h"
#include "platform/win32/wide.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using sys::ReadBeneath;
using sys::Reached;

// Makes a Linux link at link to target through ln, which Wine starts as a
// program of the system beneath it.
bool make_link_beneath_wine(const std::string& target, const std::string& link) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unix_name = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!unix_name) return false;
  char* const from = unix_name(win32::widen(target).c_str());
  char* const at = unix_name(win32::widen(link).c_str());
  std::wstring command;
  if (from && at) {
    command = win32::widen("Z:\\bin\\ln -s \"" + std::string(from) + "\" \"" + at + "\"");
  }
  ::HeapFree(::GetProcessHeap(), 0, from);
  ::HeapFree(::GetProcessHeap(), 0, at);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (command.empty() || !::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                           nullptr, nullptr, &startup, &process)) {
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  // Wine does not wait for a Linux program: the link is looked for instead.
  for (int tries = 0; tries < 100; ++tries, ::Sleep(50)) {
    if (::GetFileAttributesW(win32::widen(link).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  }
  return false;
}

TEST(ReachBeneathWin32, RefusesLinksToFoldersMadeBeneathWine) {
  test::TempTree tree, outside;
  tree.folder("a");
  outside.file("f", "outside");
  if (!test::make_folder_link(outside.root(), tree.path("a/link")) &&
      !make_link_beneath_wine(outside.root(), tree.path("a/link"))) {
    GTEST_SKIP() << "this system makes no links to folders here";
  }
  for (std::string_view rel : {"a\\link", "a\\link\\f"}) {
    std::string content;
    EXPECT_EQ(sys::reach_beneath(tree.root_with_separator(), rel), Reached::Refused) << rel;
    EXPECT_EQ(sys::read_beneath(tree.root_with_separator(), rel, 100, content),
              ReadBeneath::Refused)
        << rel;
  }
}

}  // namespace
}  // namespace tav
