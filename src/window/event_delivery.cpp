#include "window/event_delivery.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

namespace tav {

namespace {

constexpr std::array<std::string_view, event::kCount> kSuffixes{
    "_INITMENU", "_ON",        "_CHANGE",    "_START",     "_END",       "_SETFOCUS",
    "_KILLFOCUS", "_RESIZE",   "_CLICK",     "_DBLCLICK",  "_MOUSEDOWN", "_MOUSEUP",
    "_MOUSEMOVE", "_UPDATED",  "_DONE",      "_TIMER",     "_ABORTDOC",  "_QUERYCLOSE",
    "_NOTIFYICON", "_DROPFILES", "_MOUSEWHEEL", "_UNDO",
};

// Procedure names are matched without regard to case.
bool same_name(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
    return std::toupper(x) == std::toupper(y);
  });
}

// Clears a flag when the scope ends, however it ends.
class Raised {
 public:
  explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
  ~Raised() { flag_ = false; }
  Raised(const Raised&) = delete;
  Raised& operator=(const Raised&) = delete;

 private:
  bool& flag_;
};

// The suffix of an event kind ("_ON" for 1); empty for a number outside.
std::string_view event_suffix(int event) {
  if (event < 0 || event >= event::kCount) return {};
  return kSuffixes[static_cast<std::size_t>(event)];
}

}  // namespace

EventDelivery::EventDelivery(const FormDesc& form, EventSource& source, Draining draining,
                             SteadyClock clock)
    : form_(form), source_(source), draining_(draining), clock_(std::move(clock)) {}

void EventDelivery::bind(EventProcedures procedures) {
  procedures_ = std::move(procedures);
  bindings_ = {};
}

std::string_view EventDelivery::name_of(Control control) const {
  return control == Control::MainForm ? form_.name : form_.control(control).name;
}

const EventProcedure* EventDelivery::procedure_for(Control control, int event) {
  if (event < 0 || event >= event::kCount) return nullptr;
  auto& binding = bindings_[static_cast<std::size_t>(control)][static_cast<std::size_t>(event)];
  if (!binding) {
    const std::string wanted = std::string(name_of(control)) + std::string(event_suffix(event));
    const auto found = std::ranges::find_if(
        procedures_, [&](const EventProcedure& p) { return same_name(p.name, wanted); });
    binding = found == procedures_.end() ? -1 : static_cast<int>(found - procedures_.begin());
  }
  return *binding < 0 ? nullptr : &procedures_[static_cast<std::size_t>(*binding)];
}

bool EventDelivery::queue(Control control, int event) noexcept {
  try {
    if (!procedure_for(control, event) || queue_.size() >= kQueueLimit) return false;
    queue_.push_back({control, event});
    return true;
  } catch (...) {
    hold(std::current_exception());
    return false;
  }
}

void EventDelivery::hold(std::exception_ptr caught) noexcept {
  if (!held_) held_ = std::move(caught);
}

void EventDelivery::rethrow_held() {
  if (held_) std::rethrow_exception(std::exchange(held_, nullptr));
}

void EventDelivery::end_if_closed() {
  if (closed_) source_.end_process(0);
}

void EventDelivery::run(const EventProcedure& procedure, Control control) {
  const Raised running(handler_running_);
  procedure.run(control);
}

bool EventDelivery::run_oldest() {
  if (handler_running_ || queue_.empty()) return false;
  const Pending next = queue_.front();
  queue_.pop_front();
  // Queued events always have a procedure: the binding never changes.
  run(*procedure_for(next.control, next.event), next.control);
  return true;
}

bool EventDelivery::run_now(Control control, int event) {
  const EventProcedure* procedure = procedure_for(control, event);
  if (handler_running_ || !procedure) return false;
  run(*procedure, control);
  return true;
}

void EventDelivery::wait_for_event() {
  ++waits_;
  end_if_closed();
  const Raised waiting(waiting_);
  // Events queued while the main flow was busy come first, one per wait.
  if (run_oldest()) return;
  for (;;) {
    source_.pump(true);
    rethrow_held();
    end_if_closed();
    if (run_oldest()) return;
  }
}

void EventDelivery::process_pending_events() {
  if (drain_due()) {
    source_.pump(false);
    rethrow_held();
  }
  end_if_closed();
}

bool EventDelivery::stop_requested(Control stop_button) {
  if (drain_due()) {
    source_.pump(false);
    rethrow_held();
  }
  return closed_ || std::ranges::any_of(queue_, [stop_button](const Pending& pending) {
           return pending.control == stop_button && pending.event == event::kOn;
         });
}

bool EventDelivery::drain_due() {
  if (draining_ == Draining::EveryCall) return true;
  const auto now = clock_();
  if (last_drain_ && now - *last_drain_ < kDrainInterval) return false;
  last_drain_ = now;
  return true;
}

}  // namespace tav
