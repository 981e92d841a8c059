#include "app/main_flow.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "app/flow_texts.h"
#include "app/listed_message.h"
#include "app/preview_checks.h"
#include "window/event_delivery.h"
#include "platform/text.h"
#include "scan/pair_state.h"
#include "scan/scan_trees.h"
#include "volume_state/record_file.h"
#include "volume_state/undo.h"
#include "worklist/execution.h"
#include "worklist/list_lines.h"
#include "worklist/withdrawal.h"

namespace tav {

namespace {

using namespace flow_text;

constexpr int kWindowWidth = 940;
constexpr int kWindowHeight = 724;
constexpr int kFormCharHeight = 16;

struct StartupLook {
  Control control;
  int char_height;
  bool bold;
  std::string_view text;  // empty: the control keeps its text
};

// clang-format off
constexpr StartupLook kStartupLooks[] = {
  {Control::List1,   16, false, ""},
  {Control::List2,   16, false, ""},
  {Control::Edit1,   14, false, ""},
  {Control::Edit3,   16, false, "作成or更新対象となるフォルダ・ファイル"},
  {Control::Edit4,   16, false, "削除対象となるフォルダ・ファイル"},
  {Control::Text1,   14, true,  ""},
  {Control::Text5,   12, true,  ""},
  {Control::Text6,   12, true,  ""},
  {Control::Combo1,  14, false, ""},
  {Control::Check1,  14, false, ""},
  {Control::Button1, 14, false, "..."},
  {Control::Button2, 30, true,  "←"},
  {Control::Button3, 30, true,  "→"},
  {Control::Button4, 14, false, kStopCaption},
};
// clang-format on

// The scan's progress in the window: the folder searched in TEXT1, as often
// as the window can show it, and the window kept alive between the steps.
class ScanInWindow final : public ScanProgress {
 public:
  explicit ScanInWindow(Window& window) : window_(window) {}
  void searching(std::string_view folder) override {
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - *shown_ < kDrainInterval) return;
    shown_ = now;
    window_.set_text(Control::Text1, std::string(folder) + std::string(kSearching));
  }
  void between_steps() override { window_.process_pending_events(); }

 private:
  Window& window_;
  std::optional<std::chrono::steady_clock::time_point> shown_;
};

}  // namespace

MainFlow::MainFlow(Window& window, std::vector<Drive> drives)
    : window_(window), drives_(std::move(drives)) {}

EventProcedures MainFlow::event_procedures() {
  const auto store = [this](int code) { return [this, code](Control) { event_code_ = code; }; };
  return {
      {"BUTTON1_ON", store(event_code::kBrowse)},
      {"BUTTON2_ON", store(event_code::kDriveToFolder)},
      {"BUTTON3_ON", store(event_code::kFolderToDrive)},
      {"BUTTON4_ON", store(event_code::kStop)},
      {"LIST1_DBLCLICK", store(event_code::kList1Double)},
      {"LIST2_DBLCLICK", store(event_code::kList2Double)},
      {"MAINFORM_UNDO", store(event_code::kUndo)},
  };
}

void MainFlow::run() {
  window_.bind_procedures(event_procedures());
  start_up();
  State state = State::Selection;
  while (state != State::End) state = run_state(state);
  window_.end_program(0);
}

MainFlow::State MainFlow::run_state(State state) {
  switch (state) {
    case State::Selection:
      return selection_state();
    case State::Review:
      return review_state();
    case State::Completion:
      return completion_state();
    case State::End:
      break;
  }
  return State::End;
}

void MainFlow::start_up() {
  window_.set_size(Control::MainForm, kWindowWidth, kWindowHeight);
  window_.set_font_size(Control::MainForm, kFormCharHeight);
  window_.set_visible(Control::MainForm, true);
  for (const auto& look : kStartupLooks) {
    window_.set_font_size(look.control, look.char_height);
    if (look.bold) window_.set_font_bold(look.control, true);
    if (!look.text.empty()) window_.set_text(look.control, look.text);
  }
  for (const auto& drive : drives_) window_.list_add(Control::Combo1, drive.entry);
  for (const Control button : {Control::Button2, Control::Button3, Control::Button4}) {
    window_.set_enabled(button, true);
  }
  settings_ = read_settings();
  window_.set_text(Control::Edit1, settings_.folder_path);
  window_.set_text(Control::Combo1, settings_.drive_entry);
  window_.set_text(Control::Text1, kStartPrompt);
  window_.set_enabled(Control::Check1, false);
}

int MainFlow::wait_for(std::initializer_list<int> accepted) {
  event_code_ = event_code::kNone;
  while (std::find(accepted.begin(), accepted.end(), event_code_) == accepted.end()) {
    window_.wait_for_event();
  }
  return event_code_;
}

MainFlow::State MainFlow::selection_state() {
  for (;;) {
    const int code = wait_for({event_code::kBrowse, event_code::kDriveToFolder, event_code::kFolderToDrive,
                               event_code::kStop, event_code::kUndo});
    if (code == event_code::kStop) return State::End;
    if (code == event_code::kUndo) {
      if (const State next = undo(); next != State::Selection) return next;
      continue;
    }
    if (code == event_code::kBrowse) {
      if (const std::string folder = window_.browse_for_folder(); !folder.empty()) {
        window_.set_text(Control::Edit1, folder);
      }
      continue;
    }
    take_roots(code);
    return scan();
  }
}

Roots MainFlow::roots_in_the_window(Direction direction) const {
  Roots roots;
  roots.direction = direction;
  roots.folder_path = std::string(trim_blanks(window_.get_text(Control::Edit1)));
  roots.drive_entry = window_.get_text(Control::Combo1);
  roots.drive_root = resolve_drive_root(roots.drive_entry, drives_);
  roots.folder_root = roots.folder_path + kPathSeparator;
  return roots;
}

void MainFlow::take_roots(int code) {
  const bool to_folder = code == event_code::kDriveToFolder;
  window_.set_enabled(to_folder ? Control::Button3 : Control::Button2, false);
  roots_ = roots_in_the_window(to_folder ? Direction::DriveToFolder : Direction::FolderToDrive);
  settings_ = {roots_.folder_path, roots_.drive_entry};
  pair_ = state::pair_of(roots_);
}

MainFlow::State MainFlow::undo() {
  const Roots roots = roots_in_the_window(Direction::FolderToDrive);
  if (roots.folder_path.empty() || roots.drive_root.empty()) {
    window_.message_box(kUndoCaption, kNothingToUndo, Buttons::Ok, Icon::Information);
    return State::Selection;
  }
  const state::PairKey pair = state::pair_of(roots);
  const auto plan = plan_undo(roots, pair);
  if (!plan) {
    window_.message_box(kUndoCaption, kNothingToUndo, Buttons::Ok, Icon::Information);
    return State::Selection;
  }
  std::vector<std::string> lines;
  for (const UndoStep& step : plan->steps) {
    if (!step.shown()) continue;
    lines.push_back(std::string(step.puts_back() ? kPutBackWord : kRemoveWord) +
                    plan->shown_path(step));
  }
  if (window_.message_box(kUndoCaption, listed_message(kUndoLead, lines), Buttons::OkCancel,
                          Icon::Question) != Answer::Ok) {
    return State::Selection;
  }
  roots_ = roots;
  pair_ = pair;
  settings_ = {roots_.folder_path, roots_.drive_entry};
  disable_the_choices();
  tell_left(undo_run(*plan, roots_, pair_), false);
  record_at_completion_ = false;
  return State::Completion;
}

void MainFlow::disable_the_choices() {
  window_.set_enabled(Control::Button1, false);
  window_.set_enabled(Control::Edit1, false);
  window_.set_enabled(Control::Combo1, false);
}

MainFlow::State MainFlow::scan() {
  disable_the_choices();
  window_.list_clear(Control::List1);
  window_.list_clear(Control::List2);
  window_.set_text(Control::Text1, "");

  ScanInWindow progress(window_);
  const ScanOutcome outcome = scan_trees(roots_, tables_, progress, findings_, {}, &pair_);
  if (outcome == ScanOutcome::NoSubfolders) {
    window_.message_box(kNoSubfoldersCaption, kNoSubfolders, Buttons::Ok, Icon::Exclamation);
    return State::End;
  }

  fill_list1(window_, tables_, roots_);
  fill_list2(window_, tables_);
  const bool found = outcome == ScanOutcome::Review;
  window_.set_text(Control::Text1, found ? kScanDone : "");
  if (tables_.deletions() > 0) window_.set_enabled(Control::Check1, true);
  if (!found) {
    // Names one side holds twice are said even when nothing else is found.
    if (!findings_.same_names.empty()) withdraw_before_the_review(window_, tables_, roots_, findings_);
    window_.message_box(kNothingFoundCaption, kNothingFound, Buttons::Ok, Icon::Information);
    return State::Completion;
  }
  withdraw_before_the_review(window_, tables_, roots_, findings_);
  return State::Review;
}

MainFlow::State MainFlow::review_state() {
  for (;;) {
    const int code = wait_for({event_code::kDriveToFolder, event_code::kFolderToDrive, event_code::kStop,
                               event_code::kList1Double, event_code::kList2Double});
    if (code == event_code::kStop) return State::End;
    if (code == event_code::kList1Double || code == event_code::kList2Double) {
      const Control list = code == event_code::kList1Double ? Control::List1 : Control::List2;
      withdraw_selected_entry(window_, list, tables_, roots_);
      continue;
    }
    // Either direction button: the direction is the one of the first press.
    // Without deletions nothing leaves its old place: a move is a copy.
    if (window_.is_checked(Control::Check1) && tables_.moves.count() > 0) {
      tables_.unfold_moves();
      fill_list1(window_, tables_, roots_);
      fill_list2(window_, tables_);
    }
    switch (ready_to_execute(window_, tables_, roots_, findings_, plan_)) {
      case Readiness::Review:
        continue;
      case Readiness::EndNow:
        return State::End;
      case Readiness::Execute:
        return execute();
    }
  }
}

MainFlow::State MainFlow::execute() {
  const ExecutionReport report =
      execute_work_lists(window_, tables_, roots_, {pair_, plan_});
  // A run the user stopped did not complete: nothing more is shown or
  // written, but for copies its check already found the medium lost.
  if (report.stopped && report.unconfirmed == 0) return State::End;
  tell_left(report.left, true);
  if (report.unconfirmed > 0) {
    window_.message_box(kUnconfirmedCaption,
                        std::string(kUnconfirmedLead) + std::to_string(report.unconfirmed) +
                            std::string(kUnconfirmedCount),
                        Buttons::Ok, Icon::Exclamation);
  }
  return report.stopped ? State::End : State::Completion;
}

void MainFlow::tell_left(const std::vector<LeftEntry>& left, bool after_a_run) {
  if (left.empty()) return;
  std::vector<std::string> lines;
  std::vector<std::string> not_kept;
  bool all_changed_after_the_scan = true;
  for (const LeftEntry& entry : left) {
    const LeftText& text = *std::ranges::find(kLeftTexts, entry.why, &LeftText::why);
    // A run's copy placed without keeping what it replaced was done, not left.
    if (after_a_run && entry.why == LeftReason::NotKept) {
      not_kept.push_back(entry.path + std::string(text.mark));
      continue;
    }
    lines.push_back(entry.path + std::string(text.mark));
    all_changed_after_the_scan = all_changed_after_the_scan && text.changed_after_the_scan;
  }
  std::string text;
  if (!lines.empty()) {
    text = listed_message(all_changed_after_the_scan ? kLeftLead : kLeftLeadAnyReason, lines);
  }
  if (!not_kept.empty()) {
    text += (text.empty() ? "" : "\r\r") + listed_message(kNotKeptLead, not_kept);
  }
  window_.message_box(kLeftCaption, text, Buttons::Ok, Icon::Information);
}

MainFlow::State MainFlow::completion_state() {
  event_code_ = event_code::kNone;
  window_.set_text(Control::Text1, kDone);
  window_.set_enabled(Control::Button2, false);
  window_.set_enabled(Control::Button3, false);
  window_.set_text(Control::Button4, kEndCaption);
  if (record_at_completion_ && findings_.trees) {
    const auto& previous = findings_.record.record;
    state::write_record(roots_, pair_,
                        record_after_run(*findings_.trees, tables_, roots_,
                                         previous ? &*previous : nullptr, pair_.text));
  }
  write_settings(settings_);
  // Any recorded event ends the program; with nothing found there is no
  // list to look at.
  if (tables_.total() > 0) {
    while (event_code_ == event_code::kNone) window_.wait_for_event();
  }
  return State::End;
}

}  // namespace tav
