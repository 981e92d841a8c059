#include "platform/system_faults.h"

#include <atomic>
#include <mutex>

namespace tav::sys {

namespace {

// Calls are counted from every thread that makes them (the copies' check
// reads on several): one count at a time.
std::atomic<FaultPlan*> plan_in_force = nullptr;
std::mutex counting;

}  // namespace

FaultPlan::FaultPlan(Call call, std::size_t nth, Code code) : call_(call), nth_(nth), code_(code) {
  plan_in_force = this;
}

FaultPlan::~FaultPlan() {
  FaultPlan* self = this;
  plan_in_force.compare_exchange_strong(self, nullptr);
}

bool FaultPlan::strikes(Call call) {
  const std::lock_guard lock(counting);
  const std::size_t count = ++calls_[static_cast<std::size_t>(call)];
  if (call != call_ || count != nth_) return false;
  struck_ = true;
  return true;
}

bool fails_by_plan(Call call) {
  FaultPlan* const plan = plan_in_force.load(std::memory_order_acquire);
  if (!plan || !plan->strikes(call)) return false;
  if (const auto end = plan->ends_process()) end();
  set_last_code(plan->code());
  return true;
}

}  // namespace tav::sys
