// Carrying out the work lists: folders created, files copied, files deleted
// and folders removed, in that order, with a running count in TEXT1.
#pragma once

#include "platform/window.h"
#include "worklist/roots.h"
#include "worklist/work_tables.h"

namespace tav {

// CHECK1 checked when this starts leaves out every deletion. A refused
// operation raises its run-time error; what was done stays done.
void execute_work_lists(Window& window, const WorkTables& tables, const Roots& roots);

// "<label>   " followed by " <slot> / <count>".
std::string progress_text(std::string_view label, std::size_t slot, std::size_t count);

}  // namespace tav
