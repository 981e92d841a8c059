#include "volume_state/kept_run.h"

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/text.h"
#include "scan/name_fold.h"
#include "volume_state/record_file.h"
#include "volume_state/state_folder.h"

namespace tav::state {

std::string make_own_folder(std::string_view root, std::string_view run_name,
                            std::source_location where) {
  const std::string run = std::string("kept") + kPathSeparator + std::string(run_name);
  make_state_folders(root, run + kPathSeparator + std::string(kStateFolderName), where);
  return own_folder(kept_folder(root) + kPathSeparator + std::string(run_name));
}

std::string own_folder(std::string_view run_folder) {
  return std::string(run_folder) + kPathSeparator + std::string(kStateFolderName);
}

std::string own_file(std::string_view run_folder, std::string_view name) {
  std::string path = own_folder(run_folder) + kPathSeparator + std::string(name);
  if (entry_at(path)) return path;
  std::string beside = std::string(run_folder) + kPathSeparator + std::string(name);
  const auto there = entry_at(beside);
  return there && !there->folder ? beside : path;
}

bool is_own_entry(const ListedEntry& entry) {
  if (entry.folder) return !entry.link && entry.name == kStateFolderName;
  return entry.name == kJournalName || entry.name == kKeptRecordName;
}

KeptRun::KeptRun(std::string root, std::string name, const Journal& head,
                 std::source_location where)
    : root_(std::move(root)), name_(std::move(name)) {
  folder_ = kept_folder(root_) + kPathSeparator + name_;
  if (folder_exists(folder_, where)) found_.insert(folder_);
  const std::string own = make_own_folder(root_, name_, where);
  const std::string journal = own + kPathSeparator + std::string(kJournalName);
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
    if (made_.insert(path).second) {
      if (folder_exists(path, where)) {
        found_.insert(path);
      } else {
        make_folder(path, where);
      }
    }
    start = cut + 1;
  }
  const bool found_folder = found_.contains(path);
  path += kPathSeparator;
  path.append(rel.substr(start));
  // Kept files go in by renames that do not look first where the system
  // cannot refuse to replace in the rename itself. (A rename never puts a
  // file or a folder in the place of a folder that holds anything.)
  if ((!handed_.insert(fold_case(path)).second || found_folder) && entry_at(path)) {
    raise_system_error(sys::kAlreadyExists, detail::kKeepRefused, where);
  }
  return path;
}

void KeptRun::note(const JournalEntry& entry) { pending_ += entry_line(entry); }

sys::Handle KeptRun::write(std::source_location where) {
  const sys::Handle file = journal_.get();
  if (pending_.empty()) return file;
  if (!sys::write_all(file, pending_.data(), pending_.size())) {
    raise_system_error(sys::last_code(folder_), detail::kJournalRefused, where);
  }
  pending_.clear();
  unflushed_ = true;
  return file;
}

void KeptRun::commit(std::source_location where) {
  if (pending_.empty() && !unflushed_) return;
  const sys::Handle file = write(where);
  if (!sys::flush_files({&file, 1})) {
    raise_system_error(sys::last_code(folder_), detail::kJournalRefused, where);
  }
  unflushed_ = false;
}

}  // namespace tav::state
