// The event model shared by the window layers: events of the controls are
// queued only when the application has a procedure for them, and the
// procedures run one at a time, oldest first, when the main flow waits.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <optional>
#include <string_view>

#include "platform/form.h"
#include "platform/window.h"

namespace tav {

// The event kinds by number; a procedure's name is the control's name
// followed by the kind's suffix.
namespace event {
inline constexpr int kOn = 1;
inline constexpr int kChange = 2;
inline constexpr int kSetFocus = 5;
inline constexpr int kKillFocus = 6;
inline constexpr int kClick = 8;
inline constexpr int kDoubleClick = 9;
inline constexpr int kQueryClose = 17;
inline constexpr int kCount = 21;
}  // namespace event

// The suffix of an event kind ("_ON" for 1); empty outside 0..20.
std::string_view event_suffix(int event);

class EventDelivery {
 public:
  static constexpr std::size_t kQueueLimit = 64;

  EventDelivery(const FormSpec& form, EventProcedures procedures);

  // The procedure named after the control and the event, or none. The
  // lookup is made on first use and remembered.
  const EventProcedure* procedure_for(Control control, int event);

  // Queues an event that has a procedure, unless the queue is full; any
  // other event is dropped. Returns whether it was queued.
  bool queue(Control control, int event);
  std::size_t pending() const { return queue_.size(); }

  // Runs the oldest queued event's procedure. Nothing runs while another
  // procedure is running. Returns whether a procedure ran.
  bool run_oldest();
  // Runs a procedure outside the queue (the form's close query) under the
  // same rule.
  bool run_now(Control control, int event);
  bool handler_running() const { return handler_running_; }

  // Whether this call of the between-steps processing drains the window's
  // messages: the 1st, 12th, 23rd... call does.
  bool drain_due();

 private:
  struct Pending {
    Control control;
    int event;
  };

  bool run(const EventProcedure& procedure, Control control);
  std::string_view name_of(Control control) const;

  const FormSpec& form_;
  EventProcedures procedures_;
  // Per control and event: not looked up yet, or the index of the procedure
  // in procedures_ (-1 for none).
  std::array<std::array<std::optional<int>, event::kCount>, kControlCount> bindings_{};
  std::deque<Pending> queue_;
  bool handler_running_ = false;
  int countdown_ = 0;
};

}  // namespace tav
