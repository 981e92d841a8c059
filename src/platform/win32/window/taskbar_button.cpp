#include "platform/win32/window/taskbar_button.h"

#include <array>
#include <cmath>
#include <utility>

#include "platform/win32/window/com_apartment.h"

namespace tav::win32 {

namespace {

// clang-format off
constexpr std::array<std::pair<Progress, TBPFLAG>, 4> kStates{{
  {Progress::None,          TBPF_NOPROGRESS},
  {Progress::Normal,        TBPF_NORMAL},
  {Progress::Indeterminate, TBPF_INDETERMINATE},
  {Progress::Error,         TBPF_ERROR},
}};
// clang-format on

TBPFLAG state_flag(Progress state) {
  for (const auto& [progress, flag] : kStates) {
    if (progress == state) return flag;
  }
  return TBPF_NOPROGRESS;
}

}  // namespace

TaskbarCall taskbar_call(const ShownProgress& progress) {
  // A value would turn the moving bar into a standing one.
  const bool with_value = progress.state == Progress::Normal || progress.state == Progress::Error;
  const auto completed = static_cast<ULONGLONG>(
      std::lround(ShownProgress::of(progress.state, progress.fraction).fraction * kTaskbarTotal));
  return {state_flag(progress.state), with_value, with_value ? completed : 0};
}

TaskbarButton::~TaskbarButton() {
  if (list_) list_->Release();
}

UINT TaskbarButton::button_created_message() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

ITaskbarList3* TaskbarButton::list() {
  if (looked_up_) return list_;
  looked_up_ = true;
  ensure_com();
  if (FAILED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ITaskbarList3, reinterpret_cast<void**>(&list_)))) {
    list_ = nullptr;
  } else if (FAILED(list_->HrInit())) {
    list_->Release();
    list_ = nullptr;
  }
  return list_;
}

void TaskbarButton::show(HWND form, const ShownProgress& progress) {
  shown_ = progress;
  ITaskbarList3* const taskbar = list();
  if (!taskbar || !form) return;
  const TaskbarCall call = taskbar_call(progress);
  // A value given to a bar in another state turns it into the normal one:
  // the state comes after it.
  if (call.with_value) taskbar->SetProgressValue(form, call.completed, kTaskbarTotal);
  taskbar->SetProgressState(form, call.state);
}

void TaskbarButton::button_created(HWND form) {
  if (shown_.state != Progress::None) show(form, shown_);
}

}  // namespace tav::win32
