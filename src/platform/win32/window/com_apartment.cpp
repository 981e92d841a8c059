#include "platform/win32/window/com_apartment.h"

#include <windows.h>
#include <objbase.h>

namespace tav::win32 {

void ensure_com() {
  static const HRESULT initialised = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)initialised;
}

}  // namespace tav::win32
