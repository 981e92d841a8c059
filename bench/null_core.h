// A window that shows nothing and never waits, and a scan that reports no
// progress: what the core costs alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "window/window.h"
#include "scan/scan_trees.h"
#include "volume_state/pair.h"

namespace tav::bench {

// The roots of a pair of trees made under a benchmark's base folder.
inline Roots roots_of(const std::string& folder, const std::string& drive) {
  Roots roots;
  roots.folder_path = folder;
  roots.folder_root = folder + "/";
  roots.drive_root = drive + "/";
  return roots;
}

class NoProgress final : public ScanProgress {
 public:
  void searching(std::string_view) override {}
  void between_steps() override {}
};

// Thrown where the program would end.
struct Ended {};

class NullWindow : public Window {
 public:
  void set_text(Control, std::string_view) override {}
  std::string get_text(Control) override { return {}; }
  void set_enabled(Control, bool) override {}
  void set_visible(Control, bool) override {}
  void set_font_size(Control, int) override {}
  void set_font_bold(Control, bool) override {}
  void set_size(Control, int, int) override {}
  void list_clear(Control) override {}
  void list_add(Control, std::string_view) override {}
  void list_fill(Control, const std::vector<std::string>&) override {}
  std::string list_item_text(Control, int) override { return {}; }
  int list_selected_index(Control) override { return -1; }
  bool is_checked(Control) override { return false; }
  Answer message_box(std::string_view, std::string_view, Buttons, Icon) override {
    return Answer::Ok;
  }
  void show_error_report(const ErrorReport&) override {}
  void bind_procedures(EventProcedures) override {}
  void wait_for_event() override {}
  void process_pending_events() override {}
  bool stop_requested(Control) override { return false; }
  std::string browse_for_folder() override { return {}; }
  void show_progress(Progress, double) override {}
  void request_attention() override {}

 protected:
  void end(int) override { throw Ended{}; }
};

}  // namespace tav::bench
