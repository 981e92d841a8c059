#include "scan/subdirs.h"

#include "errors/runtime_error.h"
#include "platform/text.h"

namespace tav {

std::vector<std::string> get_subdirs(std::string_view root,
                                     const std::function<void()>& between_folders,
                                     std::source_location where) {
  TreeSnapshot tree = read_tree(root, [&between_folders](const std::string&) {
    if (between_folders) between_folders();
  });
  if (tree.over_limits) raise_out_of_range(where);
  std::vector<std::string> folders;
  folders.reserve(tree.folders.size());
  for (TreeFolder& folder : tree.folders) folders.push_back(std::move(folder.path));
  return folders;
}

bool skip_entry(std::string_view name, std::string_view attributes) {
  const std::string_view trimmed = trim_blanks(name);
  if (trimmed == "." || trimmed == "..") return true;
  return attributes.starts_with('D');
}

}  // namespace tav
