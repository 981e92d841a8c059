#include "platform/qt/qt_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "errors/control_errors.h"
#include "platform/qt/folder_chooser.h"
#include "platform/qt/line_list_box.h"
#include "platform/qt/message_boxes.h"
#include "platform/qt/widget_text.h"

namespace tav::qt {

ProcessExit program_exit() {
  return [](int exit_code) {
    // As a process that is ended at once: no destructors of the program's
    // objects run, the files are flushed.
    std::fflush(nullptr);
    std::_Exit(exit_code);
  };
}

QtWindow::QtWindow(const FormDesc& form, ProcessExit exit_process)
    : DeliveringWindow(form),
      exit_process_(std::move(exit_process)),
      built_(build_form(form, {[this](Control control, int event) { events().queue(control, event); },
                               [this] { events().form_closed(); }})) {
  // The program ends through end_program, never because its window closed.
  QApplication::setQuitOnLastWindowClosed(false);
}

QtWindow::~QtWindow() = default;

QWidget* QtWindow::widget(Control control) const {
  return built_.widgets[static_cast<std::size_t>(control)];
}

QWidget& QtWindow::existing(Control control, std::uint8_t operation_family) const {
  QWidget* target = widget(control);
  if (!target) raise_control_error(err::kNoControl, operation_family);
  return *target;
}

ListTarget QtWindow::list_target(Control list, std::uint8_t operation_family) const {
  QWidget& target = existing(list, operation_family);
  if (auto* combo = qobject_cast<QComboBox*>(&target)) return {nullptr, combo};
  auto* box = dynamic_cast<LineListBox*>(&target);
  if (!box) raise_control_error(err::kUnsupported, operation_family);
  return {box, nullptr};
}

void QtWindow::apply_font(Control control) {
  widget(control)->setFont(built_.fonts[static_cast<std::size_t>(control)]);
}

void QtWindow::set_text(Control control, std::string_view text) {
  set_widget_text(existing(control, family::kSetText), text);
}

std::string QtWindow::get_text(Control control) {
  return widget_text(existing(control, family::kGetText));
}

void QtWindow::set_enabled(Control control, bool enabled) {
  existing(control, family::kSetEnabled).setEnabled(enabled);
}

void QtWindow::set_visible(Control control, bool visible) {
  QWidget& target = existing(control, family::kSetVisible);
  target.setVisible(visible);
  if (visible && target.isWindow()) target.activateWindow();
}

void QtWindow::set_font_size(Control control, int pixels) {
  existing(control, family::kSetFontSize);
  built_.fonts[static_cast<std::size_t>(control)].setPixelSize(std::max(pixels, 1));
  apply_font(control);
}

void QtWindow::set_font_bold(Control control, bool bold) {
  existing(control, family::kSetFontBold);
  built_.fonts[static_cast<std::size_t>(control)].setBold(bold);
  apply_font(control);
}

void QtWindow::set_size(Control control, int width, int height) {
  QWidget& target = existing(control, family::kSetSize);
  if (control == Control::MainForm) {
    built_.form->set_outer_size(width, height);
  } else {
    target.resize(width, height);
  }
}

void QtWindow::list_clear(Control list) { qt::list_clear(list_target(list, family::kListClear)); }

void QtWindow::list_add(Control list, std::string_view text) {
  qt::list_add(list_target(list, family::kListAdd), text);
}

void QtWindow::list_fill(Control list, const std::vector<std::string>& lines) {
  qt::list_fill(list_target(list, family::kListAdd), lines);
}

std::string QtWindow::list_item_text(Control list, int row) {
  return qt::list_item_text(list_target(list, family::kListItemText), row);
}

int QtWindow::list_selected_index(Control list) {
  return qt::list_selected_index(list_target(list, family::kListSelected));
}

bool QtWindow::is_checked(Control check_box) {
  auto* box = qobject_cast<QCheckBox*>(&existing(check_box, family::kCheckState));
  if (!box) raise_control_error(err::kUnsupported, family::kCheckState);
  return box->isChecked();
}

Answer QtWindow::show_message_box(std::string_view caption, std::string_view text,
                                  Buttons buttons, Icon icon) {
  return qt::show_message_box(built_.form.get(), caption, text, buttons, icon);
}

void QtWindow::show_report_box(const ErrorReport& report) {
  launcher_.show(launcher_.shown().as_error());
  show_error_report_box(events().closed() ? nullptr : built_.form.get(), report);
}

std::string QtWindow::choose_folder() {
  return qt::choose_folder([this] { return events().closed(); });
}

void QtWindow::pump(bool wait) {
  // Waiting blocks without spinning until at least one event was handled.
  QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

void QtWindow::end_process(int exit_code) {
  built_.form->hide();
  launcher_.show({});  // no bar stays behind on the launcher
  // What is still pending is handled and anything it failed with forgotten:
  // nothing reaches the main flow any more.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  events().forget_held();
  exit_process_(exit_code);
  std::abort();  // the hook never returns
}

void QtWindow::show_progress(Progress state, double fraction) {
  launcher_.show(ShownProgress::of(state, fraction));
}

// The desktop marks the window (its task bar entry blinks or is
// highlighted) until the user brings it forward.
void QtWindow::request_attention() {
  if (events().closed() || built_.form->isActiveWindow()) return;
  QApplication::alert(built_.form.get());
}

}  // namespace tav::qt
