#include "volume_state/state_access.h"

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/system_files.h"
#include "platform/text.h"
#include "volume_state/state_layout.h"

namespace tav::state {

Reached reach(std::string_view root, std::string_view rel) { return sys::reach_beneath(root, rel); }

std::string at(std::string_view root, std::string_view rel) {
  return std::string(root) + std::string(rel);
}

void refuse_state(std::source_location where) {
  raise_system_error(sys::kAccessDenied, detail::kStateRefused, where);
}

void make_folders(std::string_view root, std::string_view rel, std::source_location where) {
  std::size_t end = 0;
  while (end < rel.size()) {
    const auto cut = rel.find(kPathSeparator, end);
    end = cut == std::string_view::npos ? rel.size() : cut;
    const std::string_view folder = rel.substr(0, end);
    switch (reach(root, folder)) {
      case Reached::Folder:
        break;
      case Reached::Missing:
        make_folder(at(root, folder), where);
        // Out of the user's sight in the system's file views; a folder that
        // stays visible costs nothing else.
        if (folder == layout::state_folder()) sys::hide(at(root, folder));
        break;
      default:
        refuse_state(where);
    }
    ++end;
  }
}

StateFile read_state_file(std::string_view root, std::string_view rel, std::size_t limit,
                          std::string& content) {
  switch (sys::read_beneath(root, rel, limit, content)) {
    case sys::ReadBeneath::Read:
      return StateFile::Read;
    case sys::ReadBeneath::Missing:
      return StateFile::Missing;
    default:
      content.clear();
      return StateFile::Damaged;
  }
}

}  // namespace tav::state
