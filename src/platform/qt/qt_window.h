// tav::Window on Qt 6 Widgets: the form built from its description, the
// control operations, message boxes, the folder chooser, the mounted
// volumes as the drive list, and the event model of the window layer.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/form.h"
#include "platform/qt/event_pump.h"
#include "platform/qt/form_builder.h"
#include "platform/qt/list_control.h"
#include "platform/window.h"

class QWidget;

namespace tav::qt {

// What the window asks of the process. The program's hooks end the process
// and list the mounted volumes; a test keeps its process and its drives.
struct WindowHooks {
  // Ends the process with the exit code; must not return.
  std::function<void(int)> exit_process;
  std::function<std::vector<Drive>()> list_drives;
};
WindowHooks program_hooks();

class QtWindow final : public Window {
 public:
  QtWindow(const FormSpec& form, EventProcedures procedures, WindowHooks hooks);
  ~QtWindow() override;

  // The widget of a control, the form for Control::MainForm.
  QWidget* widget(Control control) const;
  // Whether the main flow is waiting for an event, and how many are queued.
  bool waiting() const { return pump_.waiting(); }
  std::size_t pending_events() const { return pump_.pending(); }

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
  Answer message_box(std::string_view caption, std::string_view text, Buttons buttons,
                     Icon icon) override;
  void show_error_report(const ErrorReport& report) override;
  void wait_for_event() override;
  void process_pending_events() override;
  [[noreturn]] void end_program(int exit_code) override;
  std::string browse_for_folder() override;
  std::vector<Drive> list_drives() override;

 private:
  // The control's widget; an error if the form no longer has it.
  QWidget& existing(Control control, std::uint8_t operation_family) const;
  ListTarget list_target(Control list, std::uint8_t operation_family) const;
  void apply_font(Control control);

  const FormSpec& spec_;
  WindowHooks hooks_;
  EventPump pump_;
  BuiltForm built_;
};

}  // namespace tav::qt
