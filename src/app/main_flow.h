// The main flow: start-up, the selection state, the hand-over to the scan,
// and the completion state. One sequential procedure over the window; event
// procedures only store the event code, which the waiting states read.
#pragma once

#include <string>

#include "app/settings_file.h"
#include "platform/window.h"
#include "worklist/roots.h"
#include "worklist/work_tables.h"

namespace tav {

// Event codes the six event procedures store.
namespace event_code {
inline constexpr int kNone = 0;
inline constexpr int kBrowse = 1;        // BUTTON1 "..."
inline constexpr int kDriveToFolder = 2; // BUTTON2 "←"
inline constexpr int kFolderToDrive = 3; // BUTTON3 "→"
inline constexpr int kStop = 4;          // BUTTON4 "中　止" / "終  了"
inline constexpr int kList1Double = 7;
inline constexpr int kList2Double = 8;
}  // namespace event_code

class MainFlow {
 public:
  MainFlow(Window& window, int& event_code);

  // Runs from start-up to the end of the program.
  [[noreturn]] void run();

 private:
  void start_up();
  [[noreturn]] void selection_state();
  void take_roots(int code);
  [[noreturn]] void review_state();
  [[noreturn]] void completion_state();
  // Waits until the event code is one of the accepted codes.
  int wait_for(std::initializer_list<int> accepted);

  Window& window_;
  int& event_code_;
  Settings settings_;
  std::vector<Drive> drives_;  // as listed at start-up
  Roots roots_;
  WorkTables tables_;
};

}  // namespace tav
