// The window as the main flow sees it: named controls, message boxes, and
// the event delivery that runs one event procedure per wait. The window
// layers of each platform and the scripted window of the tests implement it.
#pragma once

#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/error_report.h"

namespace tav {

// The form and its fourteen controls, in the order the form holds them.
enum class Control {
  MainForm,
  List2,
  Edit1,
  Button1,
  Button2,
  Button3,
  Button4,
  Edit3,
  Edit4,
  Text1,
  Combo1,
  Text5,
  Text6,
  List1,
  Check1,
};
inline constexpr int kControlCount = 15;

// Message box buttons and icons by their codes, and the answers.
enum class Buttons { Ok = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
enum class Icon { Stop = 0, Question = 1, Exclamation = 2, Information = 3, None = 4 };
enum class Answer { Ok = 0, Cancel = 1, Abort = 2, Retry = 3, Ignore = 4, Yes = 5, No = 6 };

// An event procedure: the name the window layer finds it by (control name
// and event suffix, such as "BUTTON1_ON") and what it runs.
struct EventProcedure {
  std::string_view name;
  std::function<void(Control)> run;
};
using EventProcedures = std::vector<EventProcedure>;

// How the window's button on the taskbar (or the launcher) shows a run.
enum class Progress { None, Normal, Indeterminate, Error };

class Window {
 public:
  virtual ~Window() = default;

  virtual void set_text(Control control, std::string_view text) = 0;
  virtual std::string get_text(Control control) = 0;
  virtual void set_enabled(Control control, bool enabled) = 0;
  virtual void set_visible(Control control, bool visible) = 0;
  // Character height in pixels; face and weight stay.
  virtual void set_font_size(Control control, int pixels) = 0;
  virtual void set_font_bold(Control control, bool bold) = 0;
  // Outer size of the form in pixels; its top-left corner stays.
  virtual void set_size(Control control, int width, int height) = 0;

  virtual void list_clear(Control list) = 0;
  virtual void list_add(Control list, std::string_view text) = 0;
  // Replaces the whole content at once (redrawing suspended meanwhile):
  // the same as list_clear and one list_add per line, only quicker.
  virtual void list_fill(Control list, const std::vector<std::string>& lines) = 0;
  // The text of the item at a 0-based row; empty outside the list.
  virtual std::string list_item_text(Control list, int row) = 0;
  // The selected row, -1 when none.
  virtual int list_selected_index(Control list) = 0;
  virtual bool is_checked(Control check_box) = 0;

  // Modal to the form; returns the button that closed the box.
  virtual Answer message_box(std::string_view caption, std::string_view text, Buttons buttons,
                             Icon icon) = 0;
  // The report box of a run-time error: OK, exclamation, Help. While it is
  // shown, the run's progress shows the error state.
  virtual void show_error_report(const ErrorReport& report) = 0;

  // The event procedures the waits run, bound once before the first wait.
  virtual void bind_procedures(EventProcedures procedures) = 0;
  // Runs exactly one event procedure: the oldest queued event, or the next
  // one the user makes. Ends the program if the window has been closed.
  virtual void wait_for_event() = 0;
  // Called between the steps of long work: keeps the window painted and
  // queues the user's events, but runs no event procedure.
  virtual void process_pending_events() = 0;
  // Called inside long work that may stop early (the execution): the same,
  // but it never ends the program. Whether the user has asked the work to
  // stop: closed the window, or clicked the stop button (whose click stays
  // queued). A closed window stays on the screen until the program ends.
  virtual bool stop_requested(Control stop_button) = 0;
  // Closes the window and ends the process at once.
  [[noreturn]] void end_program(int exit_code) {
    end(exit_code);
    std::abort();  // a layer's end never returns
  }

  // The shell's folder browser: the chosen folder, or empty on cancel.
  virtual std::string browse_for_folder() = 0;

  // A run's progress on the taskbar button or launcher, fraction 0..1.
  virtual void show_progress(Progress state, double fraction) = 0;
  // Asks for the user's attention, unless the window is in the foreground.
  virtual void request_attention() = 0;

 protected:
  // The layer's end of the program: it never returns.
  virtual void end(int exit_code) = 0;
};

}  // namespace tav
