// tav::Window on Qt 6 Widgets: the form built from its description, the
// control operations, message boxes, the folder chooser, and Qt's event
// loop as the source of the event delivery.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "window/delivering_window.h"
#include "window/form.h"
#include "platform/qt/form_builder.h"
#include "platform/qt/launcher_entry.h"
#include "platform/qt/list_control.h"
#include "window/window.h"

class QWidget;

namespace tav::qt {

// Ends the process with the exit code; must not return. The program's ends
// the process at once; a test's keeps its process.
using ProcessExit = std::function<void(int exit_code)>;
ProcessExit program_exit();

class QtWindow final : public DeliveringWindow {
 public:
  // The form, hidden, built from its description.
  QtWindow(const FormDesc& form, ProcessExit exit_process);
  ~QtWindow() override;

  // The widget of a control, the form for Control::MainForm.
  QWidget* widget(Control control) const;

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

 private:
  Answer show_message_box(std::string_view caption, std::string_view text, Buttons buttons,
                          Icon icon) override;
  void show_report_box(const ErrorReport& report) override;
  std::string choose_folder() override;
  void pump(bool wait) override;
  [[noreturn]] void end_process(int exit_code) override;
  // The control's widget; an error if the form no longer has it.
  QWidget& existing(Control control, std::uint8_t operation_family) const;
  ListTarget list_target(Control list, std::uint8_t operation_family) const;
  void apply_font(Control control);

  ProcessExit exit_process_;
  BuiltForm built_;
  LauncherEntry launcher_;
};

}  // namespace tav::qt
