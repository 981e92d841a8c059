// The main flow: start-up, the selection state, the hand-over to the scan,
// and the completion state. One sequential procedure over the window; event
// procedures only store the event code, which the waiting states read.
#pragma once

#include <string>

#include "app/settings_file.h"
#include "platform/window.h"

namespace tav {

// Event codes the six event procedures store.
namespace event {
inline constexpr int kNone = 0;
inline constexpr int kBrowse = 1;        // BUTTON1 "..."
inline constexpr int kDriveToFolder = 2; // BUTTON2 "←"
inline constexpr int kFolderToDrive = 3; // BUTTON3 "→"
inline constexpr int kStop = 4;          // BUTTON4 "中　止" / "終  了"
inline constexpr int kList1Double = 7;
inline constexpr int kList2Double = 8;
}  // namespace event

// The two sides, taken at the first press of a direction button.
struct Roots {
  int direction = 0;          // 0: folder to drive ("→"), 1: drive to folder ("←")
  std::string folder_path;    // EDIT1 without blanks at either end
  std::string folder_root;    // folder_path and the separator
  std::string drive_entry;    // COMBO1's text, untrimmed
  std::string drive_root;     // the drive's root, ending in the separator
};

class MainFlow {
 public:
  MainFlow(Window& window, int& event_code);

  // Runs from start-up to the end of the program.
  [[noreturn]] void run();

 private:
  void start_up();
  [[noreturn]] void selection_state();
  void take_roots(int code);
  [[noreturn]] void completion_state(int total);
  // Waits until the event code is one of the accepted codes.
  int wait_for(std::initializer_list<int> accepted);

  Window& window_;
  int& event_code_;
  Settings settings_;
  Roots roots_;
};

}  // namespace tav
