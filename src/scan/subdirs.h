// The folders of a tree, and the test that keeps only files of a listing.
#pragma once

#include <functional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "scan/tree_snapshot.h"

namespace tav {

// Every folder of the tree under root as absolute paths without a trailing
// separator, in the order of read_tree's walk. A folder that cannot be
// listed is recorded but not entered. More than kMaxTreeFolders folders, or
// a folder deeper than kMaxTreeDepth levels, raises run-time error 9.
// between_folders is called once for every folder, before it is listed.
std::vector<std::string> get_subdirs(std::string_view root,
                                     const std::function<void()>& between_folders = {},
                                     std::source_location where = std::source_location::current());

// True for a listing entry the scan passes over: "." and ".." (blanks
// around the name ignored) and folders, by the first letter of the attribute
// text.
bool skip_entry(std::string_view name, std::string_view attributes);

}  // namespace tav
