#include "platform/event_delivery.h"

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
    "_NOTIFYICON", "_DROPFILES", "_MOUSEWHEEL",
};

// The messages between two drains of the between-steps processing.
constexpr int kDrainPeriod = 10;

bool same_name(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
    return std::toupper(x) == std::toupper(y);
  });
}

}  // namespace

std::string_view event_suffix(int event) {
  if (event < 0 || event >= event::kCount) return {};
  return kSuffixes[static_cast<std::size_t>(event)];
}

EventDelivery::EventDelivery(const FormSpec& form, EventProcedures procedures)
    : form_(form), procedures_(std::move(procedures)) {}

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

bool EventDelivery::queue(Control control, int event) {
  if (!procedure_for(control, event) || queue_.size() >= kQueueLimit) return false;
  queue_.push_back({control, event});
  return true;
}

bool EventDelivery::run(const EventProcedure& procedure, Control control) {
  handler_running_ = true;
  try {
    procedure.run(control);
  } catch (...) {
    handler_running_ = false;
    throw;
  }
  handler_running_ = false;
  return true;
}

bool EventDelivery::run_oldest() {
  if (handler_running_ || queue_.empty()) return false;
  const Pending next = queue_.front();
  queue_.pop_front();
  // Queued events always have a procedure: the binding never changes.
  return run(*procedure_for(next.control, next.event), next.control);
}

bool EventDelivery::run_now(Control control, int event) {
  const EventProcedure* procedure = procedure_for(control, event);
  if (handler_running_ || !procedure) return false;
  return run(*procedure, control);
}

bool EventDelivery::drain_due() {
  if (countdown_ == 0) {
    countdown_ = kDrainPeriod;
    return true;
  }
  --countdown_;
  return false;
}

}  // namespace tav
