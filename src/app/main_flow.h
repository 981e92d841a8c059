// The main flow: start-up, the selection state, the scan and its review,
// the execution and the completion state. One sequential procedure over the
// window; its event procedures only store an event code, which the waiting
// states read.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "app/preview_checks.h"
#include "app/settings_file.h"
#include "platform/drives.h"
#include "window/window.h"
#include "scan/scan_trees.h"
#include "worklist/execution.h"
#include "volume_state/pair.h"
#include "volume_state/state_layout.h"
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
inline constexpr int kUndo = 9;          // "前回の処理を元に戻す" on the form
}  // namespace event_code

class MainFlow {
 public:
  // drives: the machine's drives, listed at start-up.
  MainFlow(Window& window, std::vector<Drive> drives);

  // Runs from start-up to the end of the program.
  [[noreturn]] void run();

 private:
  // The waiting states of the flow; each runs until it knows the next.
  enum class State { Selection, Review, Completion, End };

  EventProcedures event_procedures();
  void start_up();
  State run_state(State state);
  State selection_state();
  // The roots as a direction press reads them from EDIT1 and COMBO1.
  Roots roots_in_the_window(Direction direction) const;
  void take_roots(int code);
  // Undoes the pair's last run, after the user's consent.
  State undo();
  // Searches both trees and shows what was found.
  State scan();
  State review_state();
  // Carries the lists out and shows what the execution left, if anything.
  State execute();
  void tell_left(const std::vector<LeftEntry>& left, bool after_a_run);
  void disable_the_choices();
  State completion_state();
  // Waits until the event code is one of the accepted codes.
  int wait_for(std::initializer_list<int> accepted);

  Window& window_;
  std::vector<Drive> drives_;
  int event_code_ = event_code::kNone;
  Settings settings_;
  Roots roots_;
  state::PairKey pair_;
  WorkTables tables_;
  ScanFindings findings_;
  RoomPlan plan_;
  // An undo puts the record back as it was: completion writes none then.
  bool record_at_completion_ = true;
};

}  // namespace tav
