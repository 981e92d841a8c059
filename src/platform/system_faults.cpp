#include "platform/system_faults.h"

namespace tav::sys {

namespace {

FaultPlan* plan_in_force = nullptr;

}  // namespace

FaultPlan::FaultPlan(Call call, std::size_t nth, Code code) : call_(call), nth_(nth), code_(code) {
  plan_in_force = this;
}

FaultPlan::~FaultPlan() {
  if (plan_in_force == this) plan_in_force = nullptr;
}

bool FaultPlan::strikes(Call call) {
  const std::size_t count = ++calls_[static_cast<std::size_t>(call)];
  if (call != call_ || count != nth_) return false;
  struck_ = true;
  return true;
}

bool fails_by_plan(Call call) {
  if (!plan_in_force || !plan_in_force->strikes(call)) return false;
  if (const auto end = plan_in_force->ends_process()) end();
  set_last_code(plan_in_force->code());
  return true;
}

}  // namespace tav::sys
