// A whole run of the program over two real trees: the folder side and a
// drive standing for the drive side, driven through the scripted window.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/text.h"
#include "support/current_folder.h"
#include "support/scripted_window.h"
#include "support/test_drive.h"

namespace tav::test {

class SyncTest : public testing::Test {
 protected:
  SyncTest() : drive_side(drive.tree()), window(main_form()) {
    window.type(Control::Edit1, folder_side.root()).type(Control::Combo1, drive.entry());
  }

  // Runs the program to its end; the exit code.
  int run() { return run_to_end(window, {drive.drive()}); }

  // The scan only: the first press, then the program is stopped in review.
  int scan(Control arrow) {
    window.click(arrow).click(Control::Button4);
    return run();
  }

  // A whole synchronisation, ended by a click in the completion state.
  int sync(Control arrow) {
    window.click(arrow).click(arrow).click(Control::Button4);
    return run();
  }

  const std::string& drive_root() const { return drive.root(); }
  // rel with "/" as the platform's separator.
  static std::string native_rel(std::string_view rel) {
    std::string result(rel);
    for (char& c : result) c = c == '/' ? kPathSeparator : c;
    return result;
  }
  std::string on_drive(std::string_view rel) const { return drive_root() + native_rel(rel); }
  std::string in_folder(std::string_view rel) const { return folder_side.path(rel); }

  // A list line's text without its filler and index field.
  static std::string text_of(const std::string& line) {
    std::string text = line.substr(0, line.size() - 8);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }
  std::vector<std::string> texts(Control list) const {
    std::vector<std::string> result;
    for (const auto& line : window.state(list).items) result.push_back(text_of(line));
    return result;
  }

  InTemporaryFolder here;  // the settings file lives here
  TempTree folder_side;
  TestDrive drive;
  TempTree& drive_side;
  ScriptedWindow window;
};

}  // namespace tav::test
