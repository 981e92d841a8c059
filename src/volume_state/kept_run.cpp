#include "volume_state/kept_run.h"

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/text.h"
#include "volume_state/record_file.h"
#include "volume_state/state_folder.h"

namespace tav::state {

namespace {

std::string kept_rel(std::string_view name) {
  return std::string("kept") + kPathSeparator + std::string(name);
}

}  // namespace

KeptRun::KeptRun(std::string root, std::string name, const Journal& head,
                 std::source_location where)
    : root_(std::move(root)), name_(std::move(name)) {
  make_state_folders(root_, kept_rel(name_), where);
  folder_ = kept_folder(root_) + kPathSeparator + name_;
  const std::string journal = folder_ + kPathSeparator + std::string(kJournalName);
  journal_ = sys::OpenFile(sys::create_new_file(journal), sys::OpenFile::Use::Write);
  if (!journal_.is_open()) {
    raise_system_error(sys::last_code(journal), detail::kJournalRefused, where);
  }
  pending_ = head_line(head);
  commit(where);
}

std::string KeptRun::place_for(std::string_view rel, std::source_location where) {
  std::string path = folder_;
  std::size_t start = 0;
  for (auto cut = rel.find(kPathSeparator); cut != std::string_view::npos;
       cut = rel.find(kPathSeparator, start)) {
    path += kPathSeparator;
    path.append(rel.substr(start, cut - start));
    if (made_.insert(path).second && !folder_exists(path, where)) make_folder(path, where);
    start = cut + 1;
  }
  return path + kPathSeparator + std::string(rel.substr(start));
}

void KeptRun::note(const JournalEntry& entry) { pending_ += entry_line(entry); }

void KeptRun::commit(std::source_location where) {
  if (pending_.empty()) return;
  const sys::Handle file = journal_.get();
  if (!sys::write_all(file, pending_.data(), pending_.size()) || !sys::flush_files({&file, 1})) {
    raise_system_error(sys::last_code(folder_), detail::kJournalRefused, where);
  }
  pending_.clear();
}

}  // namespace tav::state
