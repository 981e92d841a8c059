// The form's button on the taskbar showing a run's progress, through the
// shell's taskbar list. Where the system has no taskbar (or no such list),
// nothing shows and nothing fails.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include "window/shown_progress.h"

namespace tav::win32 {

// What the taskbar is told of a progress: its state and, for the states
// that show a bar where it stands, the value out of kTaskbarTotal.
struct TaskbarCall {
  TBPFLAG state;
  bool with_value;
  ULONGLONG completed;
  bool operator==(const TaskbarCall&) const = default;
};
inline constexpr ULONGLONG kTaskbarTotal = 10000;

TaskbarCall taskbar_call(const ShownProgress& progress);

class TaskbarButton {
 public:
  TaskbarButton() = default;
  TaskbarButton(const TaskbarButton&) = delete;
  TaskbarButton& operator=(const TaskbarButton&) = delete;
  ~TaskbarButton();

  void show(HWND form, const ShownProgress& progress);
  const ShownProgress& shown() const { return shown_; }

  // The message the shell sends once it has made the window's button (again,
  // after it restarted); the button then shows what was shown.
  static UINT button_created_message();
  void button_created(HWND form);

 private:
  // The taskbar list, looked up at the first progress; null without one.
  ITaskbarList3* list();

  ITaskbarList3* list_ = nullptr;
  bool looked_up_ = false;
  ShownProgress shown_;
};

}  // namespace tav::win32
