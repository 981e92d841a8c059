// What keeping costs, in a folder BASE (a disk folder, or the root of a
// mounted stick's image): 10,000 deletions kept against the same deletions
// unlinked, once with their folders and once with a file staying in each
// folder; 1,000 replacements of 1 MiB with the old files kept against the
// same replacements over the old files; and the undo of a run of 10,000
// entries against the run itself. Each pair of ways in one run, alternated:
//
//   tavrelon_keeping_bench BASE [RUNS [folders|files|replacements|undo]]
//
// (the last word measures one pair of ways only).
//
// A virtual disk pays for the first write of each block many times over
// what a later write costs, and the way that keeps the old files writes
// where the other reuses what it frees: BASE is best on a volume whose
// blocks were all written before, such as an image written whole (dd from
// /dev/zero, not truncate) and then formatted, ext4 or exFAT. Loop-mount it
// with direct I/O (losetup --direct-io=on): through the image file's own
// cache, blocks the other way reuses are still cached where new ones are
// not, which a real stick does not have. The drive's files are dropped
// from the file cache before each way, as a stick's files written days
// before are not in it: the way over the old files would free their pages
// and write the new ones into them, where the way that keeps them needs new
// pages, and on a virtual machine whose host backs its memory only while
// the guest uses it (free page reporting) each new page costs a fault on
// the host: its 1 MiB writes took eight times as long.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "null_core.h"
#include "device_cache.h"
#include "timing.h"
#include "files/copy_batch.h"
#include "files/operations.h"
#include "scan/scan_trees.h"
#include "worklist/execution.h"
#include "volume_state/undo.h"
#include "platform/text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace tav;
using bench::Clock;
using bench::device_under;
using bench::drop_from_cache;
using bench::median;
using bench::seconds_since;

struct Pair {
  std::string folder, drive;
  Roots roots() const { return bench::roots_of(folder, drive); }
};

void write(const std::string& path, std::size_t size, char fill) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << std::string(size, fill);
}



// What a run "→" does to the drive's files of a fresh pair.
enum class Shape {
  FoldersDeleted,  // deleted with their folders, which go whole
  FilesDeleted,    // deleted one by one: a file stays in each folder
  Replaced,        // replaced by newer ones
};

// A fresh pair: count files of size bytes on the drive side, in folders of
// a hundred, and on the folder side what the shape says.
Pair make_pair(const std::string& base, int count, std::size_t size, Shape shape) {
  const Pair pair{base + "/folder", base + "/drive"};
  const bool replaced = shape == Shape::Replaced;
  std::filesystem::remove_all(base);
  std::filesystem::create_directories(pair.folder + "/p");
  for (int i = 0; i < count; ++i) {
    const std::string rel = "/p/d" + std::to_string(i / 100) + "/f" + std::to_string(i);
    write(pair.drive + rel, size, 'o');
    if (replaced) write(pair.folder + rel, size, 'n');
    if (shape == Shape::FilesDeleted && i % 100 == 0) {
      const std::string stays = "/p/d" + std::to_string(i / 100) + "/stays";
      write(pair.drive + stays, 1, 's');
      write(pair.folder + stays, 1, 's');
    }
  }
  if (replaced) {
    // The drive's files an hour older, so that each is replaced: both times
    // set, as a volume through FUSE may drop a change that leaves one as it is.
    const timespec older[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(pair.drive)) {
      if (entry.is_regular_file()) ::utimensat(AT_FDCWD, entry.path().c_str(), older, 0);
    }
  }
  ::sync();
  // A stick's files were written days before a run: none of them is in the
  // file cache, whose pages the way over the old files would free and reuse,
  // nor in the cache of the device under a driver in user space.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(pair.drive)) {
    if (entry.is_regular_file()) drop_from_cache(entry.path().string());
  }
  if (const auto device = device_under(base)) drop_from_cache(*device);
  return pair;
}

WorkTables scanned(const Roots& roots) {
  WorkTables tables;
  bench::NoProgress progress;
  scan_trees(roots, tables, progress);
  return tables;
}

// The run as the program makes it: kept, journalled, flushed.
double kept_run(const Pair& pair) {
  const Roots roots = pair.roots();
  WorkTables tables = scanned(roots);
  bench::NullWindow window;
  const auto start = Clock::now();
  execute_work_lists(window, tables, roots, {state::pair_key("bench", pair.folder)});
  return seconds_since(start);
}

// The same deletions unlinked, each checked as the execution checks it, and
// the folders they leave empty removed.
double unlinked(const Pair& pair) {
  const Roots roots = pair.roots();
  WorkTables tables = scanned(roots);
  const auto start = Clock::now();
  std::set<std::string> changed;
  for (const auto& [slot, file] : tables.deleted_files.listed()) {
    if (entry_at(file.path)) delete_file(file.path);
    changed.emplace(folder_of(file.path));
  }
  for (const auto& [slot, folder] : tables.deleted_folders.listed_backwards()) {
    if (entry_at(folder) && remove_empty_folder(folder)) {
      changed.erase(folder);
      changed.emplace(folder_of(folder));
    }
  }
  const std::vector<std::string> folders(changed.begin(), changed.end());
  flush_changes(folders);
  return seconds_since(start);
}

// The same replacements over the old files, in the execution's batches.
double replaced_over(const Pair& pair) {
  const Roots roots = pair.roots();
  WorkTables tables = scanned(roots);
  const auto start = Clock::now();
  CopyBatch batch(kBatchLimits);
  std::vector<std::string> folders;
  for (const auto& [slot, copy] : tables.copies.listed()) {
    const std::string destination = roots.drive_root + copy.path;
    batch.add(roots.folder_root + copy.path, destination, Replaces::exactly(*copy.right_seen));
    folders.emplace_back(folder_of(destination));
    if (batch.full()) batch.place();
  }
  batch.place();
  flush_changes(folders);
  return seconds_since(start);
}

double undo(const Pair& pair) {
  const Roots roots = pair.roots();
  const state::PairKey key = state::pair_key("bench", pair.folder);
  const auto plan = plan_undo(roots, key);
  if (!plan) return 0;
  const auto start = Clock::now();
  undo_run(*plan, roots, key);
  return seconds_since(start);
}

void compare(const char* what, const char* ours, const char* theirs, std::vector<double> a,
             std::vector<double> b) {
  std::printf("%s: %s median %.3f s, %s median %.3f s: %.2f x\n", what, ours, median(a), theirs,
              median(b), median(a) / median(b));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tavrelon_keeping_bench BASE [RUNS [folders|files|replacements|undo]]\n");
    return 2;
  }
  const std::string base = std::string(argv[1]) + "/keeping";
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const std::string only = argc > 3 ? argv[3] : "";
  const auto measured = [&](const char* which) { return only.empty() || only == which; };
  std::vector<double> kept, plain, kept_files, plain_files, kept_replacements, plain_replacements,
      runs_done, undos;
  for (int run = 0; run < runs; ++run) {
    if (measured("folders")) {
      kept.push_back(kept_run(make_pair(base, 10000, 1, Shape::FoldersDeleted)));
      plain.push_back(unlinked(make_pair(base, 10000, 1, Shape::FoldersDeleted)));
    }
    if (measured("files")) {
      kept_files.push_back(kept_run(make_pair(base, 10000, 1, Shape::FilesDeleted)));
      plain_files.push_back(unlinked(make_pair(base, 10000, 1, Shape::FilesDeleted)));
    }
    if (measured("replacements")) {
      plain_replacements.push_back(replaced_over(make_pair(base, 1000, 1 << 20, Shape::Replaced)));
      kept_replacements.push_back(kept_run(make_pair(base, 1000, 1 << 20, Shape::Replaced)));
    }
    if (measured("undo")) {
      const Pair pair = make_pair(base, 10000, 1, Shape::FoldersDeleted);
      runs_done.push_back(kept_run(pair));
      undos.push_back(undo(pair));
    }
  }
  std::filesystem::remove_all(base);
  if (measured("folders")) {
    compare("10,000 deletions with their folders", "kept", "unlinked", kept, plain);
  }
  if (measured("files")) {
    compare("10,000 deletions, a file staying in each folder", "kept", "unlinked", kept_files,
            plain_files);
  }
  if (measured("replacements")) {
    compare("1,000 replacements of 1 MiB", "the old kept", "over the old", kept_replacements,
            plain_replacements);
  }
  if (measured("undo")) compare("a run of 10,000 deletions", "its undo", "the run", undos, runs_done);
  return 0;
}
