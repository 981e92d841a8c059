// Control notifications (WM_COMMAND) as events of the event model.
#pragma once

#include <windows.h>

#include <span>

#include "window/form.h"

namespace tav::win32 {

// The event numbers a notification of a control of this kind stands for,
// in the order they occur; empty for notifications that make no event.
std::span<const int> events_of_notification(ControlKind kind, WORD notification);

}  // namespace tav::win32
