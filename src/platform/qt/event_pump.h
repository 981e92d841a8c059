// The event model on Qt's event loop. The widgets' handlers only queue
// events (through EventDelivery) and note that the form was closed; they
// never throw: what fails in them is kept and raised once the event
// processing has returned to the main flow. Event procedures run only in
// wait_for_event, one per call.
#pragma once

#include <exception>
#include <functional>

#include "platform/event_delivery.h"

namespace tav::qt {

class EventPump {
 public:
  // end ends the program and does not return.
  EventPump(const FormSpec& form, EventProcedures procedures, std::function<void(int)> end);

  // For the widgets' handlers.
  void queue(Control control, int event) noexcept;
  void form_closed() noexcept { closed_ = true; }

  bool closed() const { return closed_; }
  // Whether the main flow is inside wait_for_event.
  bool waiting() const { return waiting_; }
  std::size_t pending() const { return events_.pending(); }

  // Runs the oldest queued procedure, or blocks in Qt's event processing
  // until the user makes an event that has one. Ends the program once the
  // form has been closed.
  void wait_for_event();
  // Processes the pending events on the 1st, 12th, 23rd... call; runs no
  // procedure. Ends the program once the form has been closed.
  void process_pending_events();

  // Raises what a handler failed with since the last call.
  void rethrow_deferred();
  // Forgets it: nothing reaches the main flow any more.
  void forget_deferred() { deferred_ = nullptr; }
  // Ends the program if the form has been closed.
  void end_if_closed();

 private:
  EventDelivery events_;
  std::function<void(int)> end_;
  bool closed_ = false;
  bool waiting_ = false;
  std::exception_ptr deferred_;
};

}  // namespace tav::qt
