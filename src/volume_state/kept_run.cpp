#include "volume_state/kept_run.h"

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/name_fold.h"
#include "platform/text.h"
#include "volume_state/state_access.h"
#include "volume_state/state_layout.h"

namespace tav::state {

KeptRun::KeptRun(std::string root, std::string name, const Journal& head,
                 std::source_location where)
    : root_(std::move(root)), name_(std::move(name)) {
  const std::string run = layout::run_folder(name_);
  if (reach(root_, run) == Reached::Folder) found_.insert(run);
  make_folders(root_, layout::own_folder(name_), where);
  const std::string journal = at(root_, layout::journal(name_));
  if (reach(root_, layout::journal(name_)) != Reached::Missing) {
    raise_system_error(sys::kAlreadyExists, detail::kJournalRefused, where);
  }
  journal_ = sys::OpenFile(sys::create_new_file(journal), sys::OpenFile::Use::Write);
  if (!journal_.is_open()) {
    raise_system_error(sys::last_code(journal), detail::kJournalRefused, where);
  }
  pending_ = head_line(head);
  commit(where);
}

std::string KeptRun::folder() const { return at(root_, layout::run_folder(name_)); }
std::string KeptRun::own_folder() const { return at(root_, layout::own_folder(name_)); }

std::string KeptRun::place_for(std::string_view rel, std::source_location where) {
  std::string path = layout::run_folder(name_);
  std::size_t start = 0;
  for (auto cut = rel.find(kPathSeparator); cut != std::string_view::npos;
       cut = rel.find(kPathSeparator, start)) {
    path += kPathSeparator;
    path.append(rel.substr(start, cut - start));
    if (made_.insert(path).second) {
      switch (reach(root_, path)) {
        case Reached::Folder:
          found_.insert(path);
          break;
        case Reached::Missing:
          make_folder(at(root_, path), where);
          break;
        default:
          refuse_state(where);
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
  if ((!handed_.insert(fold_name(path, true)).second || found_folder) &&
      reach(root_, path) != Reached::Missing) {
    raise_system_error(sys::kAlreadyExists, detail::kKeepRefused, where);
  }
  return at(root_, path);
}

void KeptRun::note(const JournalEntry& entry) { pending_ += entry_line(entry); }
void KeptRun::note_record_kept() { pending_ += record_kept_line(); }

sys::Handle KeptRun::write(std::source_location where) {
  const sys::Handle file = journal_.get();
  if (pending_.empty()) return file;
  if (!sys::write_all(file, pending_.data(), pending_.size())) {
    raise_system_error(sys::last_code(folder()), detail::kJournalRefused, where);
  }
  pending_.clear();
  unflushed_ = true;
  return file;
}

void KeptRun::commit(std::source_location where) {
  if (pending_.empty() && !unflushed_) return;
  const sys::Handle file = write(where);
  if (!sys::flush_files({&file, 1})) {
    raise_system_error(sys::last_code(folder()), detail::kJournalRefused, where);
  }
  unflushed_ = false;
}

}  // namespace tav::state
