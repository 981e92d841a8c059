// A real main window for the tests of the Win32 window layer, with event
// procedures that record what they ran, and the control windows found the
// way the automation driver finds them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "window/form.h"
#include "window/window.h"
#include "support/recorded_procedures.h"
#include "support/win32/window/form_windows.h"

namespace tav::test {

class WindowTest : public ::testing::Test, protected RecordedProcedures {
 protected:
  void SetUp() override;
  void TearDown() override { window.reset(); }

  // The window with the program's procedures, or with these (a test may add
  // its own to procedures()).
  void open(EventProcedures with);
  void open() { open(procedures()); }

  HWND form() const;
  // The control's window, found at its place at the DPI the test last gave
  // the form.
  HWND control(Control id) const;
  // A click as the user makes it, waiting in the message queue.
  void post_click(Control button) const;
  // Whether a posted click on the button still waits in the queue.
  bool click_waiting(Control button) const;

  std::unique_ptr<Window> window;
  int dpi = kDesignDpi;
};

}  // namespace tav::test
