// Both trees of a scan, read at the same time on two threads while the
// calling thread keeps the window alive and tells which folder is read.
#pragma once

#include <string>

#include "scan/scan_trees.h"
#include "scan/tree_snapshot.h"

namespace tav {

struct BothTrees {
  TreeSnapshot drive;
  TreeSnapshot folder;
};

BothTrees read_both_trees(const std::string& drive_root, const std::string& folder_root,
                          ScanProgress& progress);

}  // namespace tav
