// Real key strokes through the system's input, as the window tests and the
// automation driver type them.
#pragma once

#include <windows.h>

#include <vector>

namespace tav::test {

// One key going down or up, with its scan code.
INPUT key_stroke(WORD key, bool up);

// Sends the strokes in one piece to the window in front.
void send_strokes(const std::vector<INPUT>& strokes);

}  // namespace tav::test
