// Message boxes in Qt with the buttons, icons and answers of the program's
// boxes: Japanese button texts, the first button the default, Esc and the
// close box answering Cancel where the box has one (OK in a box with OK
// alone) and doing nothing otherwise.
#pragma once

#include <string_view>

#include "errors/error_report.h"
#include "window/window.h"

class QWidget;

namespace tav::qt {

// Modal; returns the button that closed the box.
Answer show_message_box(QWidget* owner, std::string_view caption, std::string_view text,
                        Buttons buttons, Icon icon);

// The report of a run-time error: exclamation icon, OK and Help; Help does
// nothing.
void show_error_report_box(QWidget* owner, const ErrorReport& report);

}  // namespace tav::qt
