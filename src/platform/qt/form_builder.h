// Builds the form's window and its controls from the form description:
// each control a Qt widget at its rectangle of the client area, with its
// colours, font and design text, wired to report its notifications as
// event numbers.
#pragma once

#include <QFont>
#include <array>
#include <functional>
#include <memory>

#include "window/form.h"
#include "platform/qt/form_window.h"

namespace tav::qt {

// Where the controls report to; neither may throw.
struct FormEvents {
  std::function<void(Control, int event)> event;
  std::function<void()> closed;
};

struct BuiltForm {
  std::unique_ptr<FormWindow> form;
  // By Control; [0] is the form itself.
  std::array<QWidget*, kControlCount> widgets{};
  // Each control's font as the layer last set it.
  std::array<QFont, kControlCount> fonts{};
};

// The form, hidden, centred at its created size.
BuiltForm build_form(const FormDesc& desc, FormEvents events);

}  // namespace tav::qt
