// The scan as a plain walk that looks every path up as it goes, kept as the
// reference that the scan over snapshots of both trees must agree with, and
// what a scan listed as comparable texts in slot order.
#pragma once

#include <string>
#include <vector>

#include "volume_state/pair.h"
#include "worklist/work_tables.h"

namespace tav::test {

struct ListedWork {
  std::vector<std::string> copies;  // path, left date, right date
  std::vector<std::string> new_folders;
  std::vector<std::string> deleted_files;
  std::vector<std::string> deleted_folders;
  bool operator==(const ListedWork&) const = default;
};

ListedWork listed_work(const WorkTables& tables);

// The work of both passes; empty when a walked tree has no subfolder.
ListedWork reference_scan(const Roots& roots);

}  // namespace tav::test
