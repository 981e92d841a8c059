// Event procedures for the tests of the event model: each records its name
// when it runs.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "window/window.h"

namespace tav::test {

class RecordedProcedures {
 public:
  // Procedures of these names (by default the program's own), each
  // recording its name in runs.
  EventProcedures procedures(std::initializer_list<std::string_view> names = {
                                 "BUTTON1_ON", "BUTTON2_ON", "BUTTON3_ON", "BUTTON4_ON",
                                 "LIST1_DBLCLICK", "LIST2_DBLCLICK", "MAINFORM_UNDO"}) {
    EventProcedures result;
    for (const std::string_view name : names) {
      result.push_back({name, [this, name](Control) { runs.emplace_back(name); }});
    }
    return result;
  }

  std::vector<std::string> runs;  // the names of the procedures that ran, in order
};

}  // namespace tav::test
