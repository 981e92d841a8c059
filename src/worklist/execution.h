// Carrying out the work lists: folders created, files copied, files deleted
// and folders removed, in that order, with a running count in TEXT1.
#pragma once

#include <string>
#include <vector>

#include "window/window.h"
#include "worklist/roots.h"
#include "worklist/work_tables.h"

namespace tav {

// An entry left as it was because its file changed after the scan.
struct LeftEntry {
  enum class Why { Changed, Missing };
  std::string path;
  Why why;
  bool operator==(const LeftEntry&) const = default;
};

// CHECK1 checked when this starts leaves out every deletion. Each entry is
// checked just before it is acted on: a file that changed since the scan is
// left as it is, and answered. A refused operation raises its run-time
// error; what was done stays done.
std::vector<LeftEntry> execute_work_lists(Window& window, const WorkTables& tables,
                                          const Roots& roots);

// "<label>   " followed by " <slot> / <count>".
std::string progress_text(std::string_view label, std::size_t slot, std::size_t count);

}  // namespace tav
