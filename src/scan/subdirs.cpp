#include "scan/subdirs.h"

#include "platform/files.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace tav {

namespace {

class TreeWalk {
 public:
  TreeWalk(const std::function<void()>& between_folders, std::source_location where)
      : between_folders_(between_folders), where_(where) {}

  // path: the folder followed by the separator.
  void visit(const std::string& path, std::size_t level) {
    if (level > kMaxTreeDepth) raise_out_of_range(where_);
    if (folders_.size() >= kMaxTreeFolders) raise_out_of_range(where_);
    folders_.push_back(path.substr(0, path.size() - 1));
    if (between_folders_) between_folders_();

    const std::string pattern = path + "*";
    if (cp932_length(pattern) > kMaxPathBytes) return;  // the system would refuse it
    FolderListing listing(pattern, where_);
    FolderEntry entry;
    while (listing.next(entry)) {
      if (!entry.is_folder() || entry.is_link || entry.name == "." || entry.name == "..") {
        continue;
      }
      visit(path + entry.name + kPathSeparator, level + 1);
    }
  }

  std::vector<std::string> take() { return std::move(folders_); }

 private:
  const std::function<void()>& between_folders_;
  std::source_location where_;
  std::vector<std::string> folders_;
};

}  // namespace

std::vector<std::string> get_subdirs(std::string_view root,
                                     const std::function<void()>& between_folders,
                                     std::source_location where) {
  std::string path(root);
  if (!path.empty() && path.back() == kPathSeparator) path.pop_back();
  TreeWalk walk(between_folders, where);
  walk.visit(path + kPathSeparator, 1);
  return walk.take();
}

bool skip_entry(std::string_view name, std::string_view attributes) {
  const std::string_view trimmed = trim_blanks(name);
  if (trimmed == "." || trimmed == "..") return true;
  return attributes.starts_with('D');
}

}  // namespace tav
