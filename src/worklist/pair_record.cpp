#include "worklist/pair_record.h"

#include <ctime>

#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/machine_identity.h"
#include "platform/system_files.h"
#include "scan/pair_state.h"
#include "volume_state/record_file.h"

namespace tav {

namespace {

// Something other than a file at the record's place (a folder made there)
// is moved aside in its folder, never removed.
void clear_the_place(const std::string& path) {
  const auto there = entry_at(path);
  if (!there || !there->folder) return;
  move_aside(path, path + ".aside-" + std::to_string(std::time(nullptr)));
}

}  // namespace

state::PairKey pair_of(const Roots& roots) { return state::pair_key(machine_id(), roots.folder_path); }

std::optional<state::RunRecord> record_of_pair(const Roots& roots, const state::PairKey& pair) {
  return state::read_record(roots.drive_root, pair);
}

void record_the_run(const Roots& roots, const state::PairKey& pair, std::source_location where) {
  const std::string bytes = state::encode_record(record_of_trees_now(roots, pair.text));
  if (state::record_bytes(roots.drive_root, pair) == bytes) return;
  const std::string path = state::record_path(roots.drive_root, pair);
  try {
    clear_the_place(path);
    state::make_state_folders(roots.drive_root, "records", where);
    write_small_file(path, bytes, where);
  } catch (const RuntimeError&) {
    sys::delete_file(path);
    throw;
  }
}

}  // namespace tav
