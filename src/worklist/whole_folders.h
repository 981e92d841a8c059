// Folders a run keeps whole: a folder listed for removal that still holds
// exactly what is listed below it (every file listed for deletion and as
// the scan saw it, every folder listed for removal, nothing else, nothing
// missing) goes into the kept folder by one rename, however much it holds.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/text.h"
#include "worklist/work_tables.h"

namespace tav {

// A folder that may go whole, with the slots of the entries it holds:
// files in slot order, folders (itself among them) backwards.
struct WholeFolder {
  std::string path;
  std::vector<std::size_t> files, folders;
};

class WholeFolders {
 public:
  explicit WholeFolders(const WorkTables& tables) : tables_(tables) {}

  // The topmost folder listed for removal above path when it may go whole
  // now; each such folder is looked at once.
  std::optional<WholeFolder> may_go_whole_above(const std::string& path);
  // The folder went, with everything below it.
  void went(const std::string& folder) { gone_.insert(folder); }
  // Whether path went with a folder at or above it.
  bool went_with_a_folder(const std::string& path) const { return lies_in_one_of(path, gone_); }

 private:
  struct Below {
    std::size_t files = 0, folders = 0;
  };
  void index();
  bool holds_only_what_is_listed(const std::string& folder, WholeFolder& found) const;

  const WorkTables& tables_;
  bool indexed_ = false;
  std::unordered_map<std::string, std::size_t> files_, folders_;  // listed slots by path
  std::unordered_map<std::string, Below> listed_below_;          // by listed folder
  std::set<std::string> looked_at_;
  FolderSet gone_;
};

}  // namespace tav
