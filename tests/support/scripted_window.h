// A window without a display for the tests of the main flow: it keeps every
// control's state, plays a script of the user's actions and answers message
// boxes from the script, recording what was shown.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/program_end.h"
#include "window/delivering_window.h"
#include "window/form.h"
#include "window/shown_progress.h"
#include "window/window.h"

namespace tav::test {

struct ShownBox {
  std::string caption;
  std::string text;
  Buttons buttons;
  Icon icon;
};

struct ControlState {
  std::string text;
  bool enabled = true;
  bool visible = true;
  int char_height = 0;
  bool bold = false;
  bool checked = false;
  std::vector<std::string> items;
  int selected = -1;
};

// The between-steps processing plays the clicks made while busy at every
// call, so that a script says exactly when they come.
class ScriptedWindow final : public DeliveringWindow {
 public:
  explicit ScriptedWindow(const FormDesc& form);

  // --- The script -------------------------------------------------------
  // A user's action, played when the flow waits and nothing is queued.
  ScriptedWindow& click(Control control);
  ScriptedWindow& double_click(Control list, int row);
  // A double-click on the row whose text starts as given (-1 if none does).
  ScriptedWindow& double_click(Control list, std::string text_start);
  ScriptedWindow& close_window();
  // The form's menu item, or Ctrl+Z, that undoes the last run.
  ScriptedWindow& undo_command();
  // A click or a close made while the flow is busy: made at a call of the
  // between-steps processing once the given number of waits have returned,
  // after as many further such calls as after_drains says (0: at the first).
  ScriptedWindow& click_while_busy(Control control, int after_waits, int after_drains = 0);
  ScriptedWindow& close_while_busy(int after_waits, int after_drains = 0);
  ScriptedWindow& answer(Answer answer);
  ScriptedWindow& browse_result(std::string folder);
  // Typing into an edit field or the combo box.
  ScriptedWindow& type(Control control, std::string text);
  // Something the world does while the flow waits (a file saved, a stick
  // swapped), played in its turn like the user's actions.
  ScriptedWindow& act(std::function<void()> what);
  // The window's first operation fails as an allocation does.
  ScriptedWindow& run_out_of_memory() {
    out_of_memory_ = true;
    return *this;
  }

  // --- What happened ----------------------------------------------------
  const ControlState& state(Control control) const;
  // Every text the control was given, oldest first.
  const std::vector<std::string>& texts(Control control) const {
    return text_history_[static_cast<std::size_t>(control)];
  }
  const std::vector<ShownBox>& boxes() const { return boxes_; }
  const std::vector<ErrorReport>& error_reports() const { return error_reports_; }
  int waits() const { return events().waits(); }
  // Every progress the taskbar was sent, oldest first, and the requests for
  // attention.
  const std::vector<ShownProgress>& progress_sent() const { return progress_sent_; }
  int attention_requests() const { return attention_requests_; }

  // --- Window ---------------------------------------------------------
  void set_text(Control control, std::string_view text) override;
  std::string get_text(Control control) override;
  void set_enabled(Control control, bool enabled) override;
  void set_visible(Control control, bool visible) override;
  void set_font_size(Control control, int pixels) override;
  void set_font_bold(Control control, bool bold) override;
  void set_size(Control control, int width, int height) override;
  void list_clear(Control list) override;
  void list_add(Control list, std::string_view text) override;
  void list_fill(Control list, const std::vector<std::string>& lines) override;
  std::string list_item_text(Control list, int row) override;
  int list_selected_index(Control list) override;
  bool is_checked(Control check_box) override;
  void show_progress(Progress state, double fraction) override;
  void request_attention() override;

  int width = 0, height = 0;

 private:
  Answer show_message_box(std::string_view caption, std::string_view text, Buttons buttons,
                          Icon icon) override;
  void show_report_box(const ErrorReport& report) override;
  std::string choose_folder() override;
  [[noreturn]] void end_process(int exit_code) override;
  struct Action {
    enum Kind { Click, DoubleClick, Close, Undo, Type, Act } kind;
    Control control;
    int row = -1;
    std::string text;
    std::function<void()> act;
    int drains_before = 0;  // while busy: calls of the processing to let pass first
  };
  ControlState& mutable_state(Control control);
  void perform(const Action& action);
  // The next action of the script, or (not waiting) the clicks due now.
  void pump(bool wait) override;

  const FormDesc& form_;
  std::array<ControlState, kControlCount> states_{};
  std::array<std::vector<std::string>, kControlCount> text_history_{};
  std::deque<Action> script_;
  std::multimap<int, Action> busy_actions_;  // by the waits after which they come
  std::deque<Answer> answers_;
  std::deque<std::string> browse_results_;
  std::vector<ShownBox> boxes_;
  std::vector<ErrorReport> error_reports_;
  std::vector<ShownProgress> progress_sent_;
  int attention_requests_ = 0;
  bool out_of_memory_ = false;
};

}  // namespace tav::test
