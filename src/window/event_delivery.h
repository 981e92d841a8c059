// The event model every window layer shares. Events of the controls are
// queued only when the application has a procedure for them; procedures run
// one at a time, oldest first, only while the main flow waits. The window
// layer's handlers never throw: they queue, note that the form was closed,
// or hand over what they caught, which is raised once the system's event
// processing has returned to the main flow.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <exception>
#include <optional>
#include <string_view>

#include "platform/steady_clock.h"
#include "window/form.h"
#include "window/window.h"

namespace tav {

// What a window layer supplies: its system's event queue and its end of
// the program.
class EventSource {
 public:
  // Handles what the system has queued for the window. With wait, when
  // nothing is queued, first waits (without spinning) until something is.
  virtual void pump(bool wait) = 0;
  // Ends the process with the exit code.
  [[noreturn]] virtual void end_process(int exit_code) = 0;

 protected:
  ~EventSource() = default;
};

// When the between-steps processing hands over to the system's queue.
enum class Draining {
  Timed,      // on the first call, then once an interval has passed since the last drain
  EveryCall,  // on each call (the scripted window of the tests)
};

// Long work hands over often enough for the window to repaint smoothly,
// and seldom enough to cost little.
inline constexpr std::chrono::milliseconds kDrainInterval{15};

class EventDelivery {
 public:
  static constexpr std::size_t kQueueLimit = 64;

  EventDelivery(const FormDesc& form, EventSource& source, Draining draining = Draining::Timed,
                SteadyClock clock = std::chrono::steady_clock::now);

  // The procedures the waits run; bound once, before the first wait.
  void bind(EventProcedures procedures);

  // --- For the window layer's handlers (none of these throws) -----------
  // Queues an event that has a procedure, unless the queue is full; any
  // other event is dropped. Returns whether it was queued.
  bool queue(Control control, int event) noexcept;
  // Runs a procedure outside the queue (the form's close query), unless
  // another one is running. Returns whether it ran; what it throws passes.
  bool run_now(Control control, int event);
  void form_closed() noexcept { closed_ = true; }
  // Keeps what a handler caught (the first, until it is raised).
  void hold(std::exception_ptr caught) noexcept;

  // --- For the main flow, through the window -----------------------------
  // Runs exactly one event procedure: the oldest queued event, or the next
  // one the user makes. Ends the program once the form has been closed.
  void wait_for_event();
  // Lets the system's queue be handled between the steps of long work (as
  // the draining rule says); runs no procedure. Ends the program once the
  // form has been closed.
  void process_pending_events();
  // The same without ending the program; whether the form has been closed
  // or a click of the stop button is queued.
  bool stop_requested(Control stop_button);

  // Raises what a handler caught since the last call.
  void rethrow_held();
  // Forgets it: nothing reaches the main flow any more.
  void forget_held() noexcept { held_ = nullptr; }
  void end_if_closed();

  bool closed() const { return closed_; }
  // Whether a handler's failure waits to be raised.
  bool holds() const { return held_ != nullptr; }
  bool waiting() const { return waiting_; }
  // The waits the main flow has begun.
  int waits() const { return waits_; }
  std::size_t pending() const { return queue_.size(); }
  bool handler_running() const { return handler_running_; }

  // The procedure named after the control and the event, or none. The
  // lookup is made on first use and remembered.
  const EventProcedure* procedure_for(Control control, int event);
  // Runs the oldest queued event's procedure, unless another one is
  // running. Returns whether a procedure ran.
  bool run_oldest();
  // Whether this call of the between-steps processing hands over to the
  // system's queue.
  bool drain_due();

 private:
  struct Pending {
    Control control;
    int event;
  };

  void run(const EventProcedure& procedure, Control control);
  std::string_view name_of(Control control) const;

  const FormDesc& form_;
  EventSource& source_;
  Draining draining_;
  SteadyClock clock_;
  std::optional<std::chrono::steady_clock::time_point> last_drain_;
  EventProcedures procedures_;
  // Per control and event: not looked up yet, or the index of the procedure
  // in procedures_ (-1 for none).
  std::array<std::array<std::optional<int>, event::kCount>, kControlCount> bindings_{};
  std::deque<Pending> queue_;
  std::exception_ptr held_;
  bool handler_running_ = false;
  bool closed_ = false;
  bool waiting_ = false;
  int waits_ = 0;
};

}  // namespace tav
