#include "support/scripted_window.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace tav::test {

ScriptedWindow::ScriptedWindow(const FormDesc& form)
    : DeliveringWindow(form, Draining::EveryCall), form_(form) {
  for (const auto& desc : form_.controls) {
    mutable_state(desc.id).text = std::string(desc.design_text);
    mutable_state(desc.id).char_height = desc.char_height;
    mutable_state(desc.id).bold = desc.bold;
  }
  mutable_state(Control::MainForm).text = std::string(form_.title);
  mutable_state(Control::MainForm).visible = false;
}

ScriptedWindow& ScriptedWindow::click(Control control) {
  script_.push_back({Action::Click, control});
  return *this;
}

ScriptedWindow& ScriptedWindow::double_click(Control list, int row) {
  script_.push_back({Action::DoubleClick, list, row});
  return *this;
}

ScriptedWindow& ScriptedWindow::double_click(Control list, std::string text_start) {
  script_.push_back({Action::DoubleClick, list, -1, std::move(text_start)});
  return *this;
}

ScriptedWindow& ScriptedWindow::close_window() {
  script_.push_back({Action::Close, Control::MainForm});
  return *this;
}

ScriptedWindow& ScriptedWindow::undo_command() {
  script_.push_back({Action::Undo, Control::MainForm});
  return *this;
}

ScriptedWindow& ScriptedWindow::type(Control control, std::string text) {
  script_.push_back({Action::Type, control, -1, std::move(text)});
  return *this;
}

ScriptedWindow& ScriptedWindow::act(std::function<void()> what) {
  script_.push_back({Action::Act, Control::MainForm, -1, {}, std::move(what)});
  return *this;
}

ScriptedWindow& ScriptedWindow::click_while_busy(Control control, int after_waits,
                                                 int after_drains) {
  busy_actions_.emplace(after_waits, Action{Action::Click, control, -1, {}, {}, after_drains});
  return *this;
}

ScriptedWindow& ScriptedWindow::close_while_busy(int after_waits, int after_drains) {
  busy_actions_.emplace(after_waits,
                        Action{Action::Close, Control::MainForm, -1, {}, {}, after_drains});
  return *this;
}

ScriptedWindow& ScriptedWindow::answer(Answer answer) {
  answers_.push_back(answer);
  return *this;
}

ScriptedWindow& ScriptedWindow::browse_result(std::string folder) {
  browse_results_.push_back(std::move(folder));
  return *this;
}

const ControlState& ScriptedWindow::state(Control control) const {
  return states_[static_cast<std::size_t>(control)];
}

ControlState& ScriptedWindow::mutable_state(Control control) {
  return states_[static_cast<std::size_t>(control)];
}

void ScriptedWindow::set_text(Control control, std::string_view text) {
  mutable_state(control).text = std::string(text);
  text_history_[static_cast<std::size_t>(control)].emplace_back(text);
}

std::string ScriptedWindow::get_text(Control control) { return state(control).text; }

void ScriptedWindow::set_enabled(Control control, bool enabled) {
  mutable_state(control).enabled = enabled;
}

void ScriptedWindow::set_visible(Control control, bool visible) {
  mutable_state(control).visible = visible;
}

void ScriptedWindow::set_font_size(Control control, int pixels) {
  mutable_state(control).char_height = pixels;
}

void ScriptedWindow::set_font_bold(Control control, bool bold) {
  mutable_state(control).bold = bold;
}

void ScriptedWindow::set_size(Control, int new_width, int new_height) {
  if (out_of_memory_) throw std::bad_alloc();
  width = new_width;
  height = new_height;
}

void ScriptedWindow::list_clear(Control list) {
  mutable_state(list).items.clear();
  mutable_state(list).selected = -1;
}

void ScriptedWindow::list_add(Control list, std::string_view text) {
  auto& items = mutable_state(list).items;
  const bool sorted = list != Control::Combo1 && form_.control(list).sorted;
  const auto at = sorted ? std::upper_bound(items.begin(), items.end(), text) : items.end();
  items.insert(at, std::string(text));
}

void ScriptedWindow::list_fill(Control list, const std::vector<std::string>& lines) {
  list_clear(list);
  for (const auto& line : lines) list_add(list, line);
}

std::string ScriptedWindow::list_item_text(Control list, int row) {
  const auto& items = state(list).items;
  if (row < 0 || row >= static_cast<int>(items.size())) return {};
  return items[static_cast<std::size_t>(row)];
}

int ScriptedWindow::list_selected_index(Control list) { return state(list).selected; }

bool ScriptedWindow::is_checked(Control check_box) { return state(check_box).checked; }

Answer ScriptedWindow::show_message_box(std::string_view caption, std::string_view text,
                                   Buttons buttons, Icon icon) {
  boxes_.push_back({std::string(caption), std::string(text), buttons, icon});
  if (answers_.empty()) return Answer::Ok;
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedWindow::show_report_box(const ErrorReport& report) {
  error_reports_.push_back(report);
}

void ScriptedWindow::perform(const Action& action) {
  auto& target = mutable_state(action.control);
  switch (action.kind) {
    case Action::Close:
      events().form_closed();
      return;
    case Action::Undo:
      events().queue(Control::MainForm, event::kUndo);
      return;
    case Action::Type:
      target.text = action.text;
      return;
    case Action::Act:
      action.act();
      return;
    case Action::Click:
      if (!target.enabled) return;  // a disabled control reports nothing
      if (form_.control(action.control).kind == ControlKind::CheckBox) {
        target.checked = !target.checked;
      }
      events().queue(action.control, event::kOn);
      return;
    case Action::DoubleClick:
      if (!target.enabled) return;
      target.selected = action.row;
      if (!action.text.empty()) {
        const auto found = std::find_if(target.items.begin(), target.items.end(),
                                        [&](const auto& item) { return item.starts_with(action.text); });
        target.selected = found == target.items.end() ? -1 : static_cast<int>(found - target.items.begin());
      }
      events().queue(action.control, event::kDoubleClick);
      return;
  }
}

void ScriptedWindow::pump(bool wait) {
  if (wait) {
    if (script_.empty()) throw std::logic_error("the flow waits, but the script has ended");
    const Action action = script_.front();
    script_.pop_front();
    perform(action);
    return;
  }
  const auto last = busy_actions_.upper_bound(waits());
  for (auto it = busy_actions_.begin(); it != last;) {
    if (it->second.drains_before-- > 0) {
      ++it;
      continue;
    }
    perform(it->second);
    it = busy_actions_.erase(it);
  }
}

void ScriptedWindow::end_process(int exit_code) { throw ProgramEnded{exit_code}; }

std::string ScriptedWindow::choose_folder() {
  if (browse_results_.empty()) return {};
  std::string folder = browse_results_.front();
  browse_results_.pop_front();
  return folder;
}

void ScriptedWindow::show_progress(Progress state, double fraction) {
  progress_sent_.push_back({state, fraction});
}

void ScriptedWindow::request_attention() { ++attention_requests_; }

}  // namespace tav::test
