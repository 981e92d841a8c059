#include "window/delivering_window.h"

namespace tav {

DeliveringWindow::DeliveringWindow(const FormDesc& form, Draining draining)
    : events_(form, *this, draining) {}

void DeliveringWindow::bind_procedures(EventProcedures procedures) {
  events_.bind(std::move(procedures));
}

void DeliveringWindow::wait_for_event() { events_.wait_for_event(); }

void DeliveringWindow::process_pending_events() { events_.process_pending_events(); }

bool DeliveringWindow::stop_requested(Control stop_button) {
  return events_.stop_requested(stop_button);
}

Answer DeliveringWindow::message_box(std::string_view caption, std::string_view text,
                                     Buttons buttons, Icon icon) {
  const Answer answer = show_message_box(caption, text, buttons, icon);
  events_.rethrow_held();
  return answer;
}

void DeliveringWindow::show_error_report(const ErrorReport& report) {
  show_report_box(report);
  events_.forget_held();
}

std::string DeliveringWindow::browse_for_folder() {
  std::string folder = choose_folder();
  events_.end_if_closed();
  events_.rethrow_held();
  return folder;
}

}  // namespace tav
