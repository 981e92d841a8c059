#include "support/win32/window/key_strokes.h"

namespace tav::test {

INPUT key_stroke(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

void send_strokes(const std::vector<INPUT>& strokes) {
  ::SendInput(static_cast<UINT>(strokes.size()), const_cast<INPUT*>(strokes.data()),
              sizeof(INPUT));
}

}  // namespace tav::test
