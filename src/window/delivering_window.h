// The event half every real window layer shares (the tests' scripted window
// too): the delivery of events to the main flow's procedures, the end of the
// program, and one rule for what a handler caught while the system handled
// events: it is raised by the next call that handed over to the system (a
// wait, the between-steps processing, a modal box, the folder browser), and
// forgotten once an error report is shown, which is never followed by
// another.
#pragma once

#include <string>
#include <string_view>

#include "window/event_delivery.h"
#include "window/window.h"

namespace tav {

class DeliveringWindow : public Window, protected EventSource {
 public:
  void bind_procedures(EventProcedures procedures) final;
  void wait_for_event() final;
  void process_pending_events() final;
  bool stop_requested(Control stop_button) final;
  Answer message_box(std::string_view caption, std::string_view text, Buttons buttons,
                     Icon icon) final;
  void show_error_report(const ErrorReport& report) final;
  // The browser has no owner: the form may have been closed meanwhile, and
  // then the program ends as it would at its next wait.
  std::string browse_for_folder() final;

  // Whether the main flow is waiting for an event, and how many are queued.
  bool waiting() const { return events_.waiting(); }
  std::size_t pending_events() const { return events_.pending(); }

 protected:
  explicit DeliveringWindow(const FormDesc& form, Draining draining = Draining::Timed);
  void end(int exit_code) final { end_process(exit_code); }
  ~DeliveringWindow() = default;

  EventDelivery& events() { return events_; }
  const EventDelivery& events() const { return events_; }

  // The layer's own boxes: modal to the form while it is there.
  virtual Answer show_message_box(std::string_view caption, std::string_view text,
                                  Buttons buttons, Icon icon) = 0;
  virtual void show_report_box(const ErrorReport& report) = 0;
  // The folder chooser: the chosen folder, or empty on cancel.
  virtual std::string choose_folder() = 0;

 private:
  EventDelivery events_;
};

}  // namespace tav
