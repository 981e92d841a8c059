// A whole run of the program over two real trees: the folder side and a
// drive standing for the drive side, driven through the scripted window.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/text.h"
#include "support/current_folder.h"
#include "support/scripted_window.h"
#include "support/test_drive.h"

namespace tav::test {

// Tests run in both directions take the arrow as their parameter, named
// for the side it brings up to date.
inline std::string arrow_name(const testing::TestParamInfo<Control>& info) {
  return info.param == Control::Button3 ? "ToTheDrive" : "ToTheFolder";
}
#define TAV_BOTH_ARROWS testing::Values(Control::Button3, Control::Button2), test::arrow_name

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

  // The source side and the destination side of an arrow.
  TempTree& source_side(Control arrow) { return arrow == Control::Button3 ? folder_side : drive_side; }
  TempTree& destination_side(Control arrow) {
    return arrow == Control::Button3 ? drive_side : folder_side;
  }

  // The lines of a listed box after its lead, sorted; empty when the box
  // does not begin with the lead.
  static std::vector<std::string> box_lines(const ShownBox& box, std::string_view lead) {
    std::vector<std::string> lines;
    const std::string start = std::string(lead) + "\r\r";
    if (!box.text.starts_with(start)) return lines;
    std::stringstream text(box.text.substr(start.size()));
    for (std::string line; std::getline(text, line, '\r');) lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  // Another start of the program over the same trees, in a window of its
  // own with the fields typed as at first; run_again runs it to its end.
  ScriptedWindow& start_again() {
    again_.emplace(main_form());
    again_->type(Control::Edit1, folder_side.root()).type(Control::Combo1, drive.entry());
    return *again_;
  }
  int run_again() { return run_to_end(*again_, {drive.drive()}); }
  // A whole synchronisation in a new start.
  int sync_again(Control arrow) {
    start_again().click(arrow).click(arrow).click(Control::Button4);
    return run_again();
  }
  ScriptedWindow& again() { return *again_; }

  const std::string& drive_root() const { return drive.root(); }
  static std::string native_rel(std::string_view rel) { return test::native_rel(rel); }
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

 private:
  std::optional<ScriptedWindow> again_;
};

}  // namespace tav::test
