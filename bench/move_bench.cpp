// What a move costs: a whole run "→" after the source renamed a folder of
// 1,000 files (1 MiB each by default: 1,000 MiB) since the pair's last run,
// with the moves found from the record and the destination's folder renamed
// in one step, against the same run without looking for moves, which copies
// the folder anew and keeps the old one. Alternated in one process:
//
//   tavrelon_move_bench DRIVE_BASE [RUNS [FILE_KIB [FOLDER_BASE]]]
//
// RUNS of each way (3 by default); FILE_KIB the size of each of the 1,000
// files in KiB (1024 by default). The drive side lies under DRIVE_BASE (a
// disk folder, or the root of a mounted stick's image); the folder side
// under FOLDER_BASE, the computer's own disk, or DRIVE_BASE when none is
// given. The bench mounts nothing: an exFAT image written whole and
// loop-mounted with direct I/O, as keeping_bench.cpp says why, is made so
// (exFAT through FUSE where the kernel has no exFAT of its own):
//
//   dd if=/dev/zero of=IMAGE bs=1M count=4096 && mkfs.exfat IMAGE
//   LOOP=$(losetup -f --show --direct-io=on IMAGE)
//   mkdir -p MOUNT && mount.exfat-fuse "$LOOP" MOUNT
//   tavrelon_move_bench MOUNT 3 1024 /some/disk/folder
//   umount MOUNT && losetup -d "$LOOP"
//
// The pair is made once and brought in step by a first whole run, whose
// record is written as the program's completion writes it; its size per
// file is reported. Each timed run starts from that state: the source's
// folder renamed, the drive's files written, synced and dropped from the
// file cache and from the device's cache, the drive's state folder holding
// the first run's record alone. A run is the scan with the pair's record,
// the record's withdrawals, the moves (or not), the execution and the
// record written at completion. After it the rename is undone on both
// sides (the copy removed and the kept folder brought back, for the way
// without moves) and the record put back byte for byte. Where the drive
// side's device is known (the deepest mount holding DRIVE_BASE), its own
// counters give the bytes written during the run and by the sync after it;
// on a disk shared with other work they count that work too, so the bytes
// of the copies the run placed are given beside them.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "null_core.h"
#include "device_cache.h"
#include "timing.h"
#include "errors/runtime_error.h"
#include "scan/both_trees.h"
#include "scan/move_finding.h"
#include "scan/pair_state.h"
#include "scan/scan_trees.h"
#include "volume_state/record_file.h"
#include "volume_state/record_protection.h"
#include "volume_state/state_layout.h"
#include "worklist/execution.h"
#include "worklist/record_withdrawal.h"

namespace {

using namespace tav;
using bench::Clock;
using bench::device_under;
using bench::drop_from_cache;
using bench::median;
using bench::seconds_since;
namespace fs = std::filesystem;

constexpr int kFiles = 1000;
constexpr const char* kFolder = "/p/folder";
constexpr const char* kRenamed = "/p/folder-renamed";

double mib(std::uint64_t bytes) { return static_cast<double>(bytes) / (1 << 20); }

// Bytes the block device wrote: sectors of 512 bytes, field 7 of its stat.
std::uint64_t device_written(const std::optional<std::string>& device) {
  if (!device) return 0;
  std::ifstream stat("/sys/class/block/" + fs::path(*device).filename().string() + "/stat");
  std::uint64_t field[7] = {};
  for (auto& value : field) stat >> value;
  return field[6] * 512;
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t files_in(const std::string& folder) {
  std::size_t count = 0;
  if (!fs::is_directory(folder)) return 0;
  for (const auto& entry : fs::directory_iterator(folder)) count += entry.is_regular_file();
  return count;
}

struct Measured {
  double run = 0, scan = 0, moves = 0, execution = 0, record = 0;
  std::uint64_t written = 0, written_with_sync = 0, copied = 0, record_bytes = 0;
  std::size_t moves_found = 0, moves_done = 0, copies_done = 0, deletions_done = 0,
              withdrawn = 0;
};

struct Bench {
  std::string folder, drive;
  std::size_t file_bytes = 0;
  std::optional<std::string> device;
  state::PairKey pair;
  std::string record;  // the first run's record, byte for byte

  Roots roots() const { return bench::roots_of(folder, drive); }
  std::string record_path() const { return drive + "/" + state::record_place(roots(), pair); }

  // The source's folder of files, and the drive's first-level folder.
  void make() const {
    fs::remove_all(folder);
    fs::remove_all(drive);
    fs::create_directories(folder + kFolder);
    fs::create_directories(drive + "/p");
    const std::string bytes(file_bytes, 'm');
    for (int i = 0; i < kFiles; ++i) {
      std::ofstream(folder + kFolder + "/f" + std::to_string(1000 + i), std::ios::binary) << bytes;
    }
  }

  // The first run, which brings the drive in step and writes the record.
  double bring_in_step() {
    const auto start = Clock::now();
    Measured first;
    whole_run(false, first);
    const double seconds = seconds_since(start);
    if (first.copies_done != kFiles) {
      std::fprintf(stderr, "the first run copied %zu files of %d\n", first.copies_done, kFiles);
      std::exit(1);
    }
    record = read_bytes(record_path());
    return seconds;
  }

  // The scan with the record, its withdrawals, the moves if asked, the
  // execution and the record at completion, as the program makes a run.
  void whole_run(bool with_moves, Measured& m) const {
    const Roots roots = this->roots();
    WorkTables tables;
    bench::NoProgress progress;
    ScanFindings findings;
    auto start = Clock::now();
    scan_trees(roots, tables, progress, findings, {}, &pair);
    const auto& previous = findings.record.record;
    const state::RecordProtection protection(previous ? &*previous : nullptr,
                                             findings.other_records, roots);
    m.withdrawn = withdraw_what_the_record_protects(tables, roots, protection).size();
    m.scan = seconds_since(start);
    start = Clock::now();
    if (with_moves && previous && findings.trees) {
      m.moves_found = find_moves(tables, roots, *previous,
                                 roots.source(findings.trees->folder, findings.trees->drive)
                                     .identity_volume);
    }
    m.moves = seconds_since(start);
    start = Clock::now();
    bench::NullWindow window;
    execute_work_lists(window, tables, roots, {pair});
    m.execution = seconds_since(start);
    start = Clock::now();
    state::write_record(roots, pair,
                        record_after_run(*findings.trees, tables, roots,
                                         previous ? &*previous : nullptr, pair.text));
    m.record = seconds_since(start);
    m.run = m.scan + m.moves + m.execution + m.record;
    count_what_was_done(tables, m);
  }

  // The moves done, and the copies and deletions done beside them (a done
  // move's entries are settled done with it).
  static void count_what_was_done(const WorkTables& tables, Measured& m) {
    std::vector<bool> moved_copy(tables.copies.count() + 1);
    std::vector<bool> moved_file(tables.deleted_files.count() + 1);
    for (std::size_t slot = 1; slot <= tables.moves.count(); ++slot) {
      if (tables.moves.state(slot) != SlotState::Done) continue;
      ++m.moves_done;
      for (const std::size_t copy : tables.moves[slot].copies) moved_copy[copy] = true;
      for (const std::size_t file : tables.moves[slot].deleted_files) moved_file[file] = true;
    }
    for (std::size_t slot = 1; slot <= tables.copies.count(); ++slot) {
      if (tables.copies.state(slot) != SlotState::Done || moved_copy[slot]) continue;
      ++m.copies_done;
      if (const auto& seen = tables.copies[slot].left_seen) m.copied += seen->size;
    }
    for (std::size_t slot = 1; slot <= tables.deleted_files.count(); ++slot) {
      m.deletions_done += tables.deleted_files.state(slot) == SlotState::Done && !moved_file[slot];
    }
  }

  // Nothing of the drive in any cache, as for a stick's files written days
  // before: the first run's, the way before's.
  void drop_caches() const {
    ::sync();
    for (const auto& entry : fs::recursive_directory_iterator(drive)) {
      if (entry.is_regular_file()) drop_from_cache(entry.path().string());
    }
    if (device) drop_from_cache(*device);
  }

  // The state the first run left, with the source's folder renamed since.
  void start_state() const {
    fs::remove_all(drive + "/" + state::layout::kept_folder());
    std::ofstream(record_path(), std::ios::binary | std::ios::trunc) << record;
    fs::rename(folder + kFolder, folder + kRenamed);
    drop_caches();
  }

  // The rename undone on both sides: the drive's folder renamed back, or
  // the copy removed and the kept folder brought back.
  void undo_the_rename() const {
    fs::rename(folder + kRenamed, folder + kFolder);
    if (fs::exists(drive + kFolder)) {
      fs::remove_all(drive + kRenamed);
    } else if (const auto kept = kept_folder()) {
      fs::remove_all(drive + kRenamed);
      fs::rename(*kept, drive + kFolder);
    } else {
      fs::rename(drive + kRenamed, drive + kFolder);
    }
    if (files_in(drive + kFolder) != kFiles || fs::exists(drive + kRenamed)) {
      std::fprintf(stderr, "the drive side could not be brought back\n");
      std::exit(1);
    }
  }

  std::optional<std::string> kept_folder() const {
    const std::string kept = drive + "/" + state::layout::kept_folder();
    if (!fs::is_directory(kept)) return std::nullopt;
    for (const auto& run : fs::directory_iterator(kept)) {
      if (fs::is_directory(run.path().string() + kFolder)) return run.path().string() + kFolder;
    }
    return std::nullopt;
  }

  Measured timed(bool with_moves) const {
    start_state();
    Measured m;
    const std::uint64_t before = device_written(device);
    whole_run(with_moves, m);
    m.written = device_written(device) - before;
    ::sync();
    m.written_with_sync = device_written(device) - before;
    m.record_bytes = fs::file_size(record_path());
    undo_the_rename();
    return m;
  }
};

template <typename F>
std::vector<double> each(const std::vector<Measured>& runs, F f) {
  std::vector<double> values;
  for (const Measured& m : runs) values.push_back(static_cast<double>(f(m)));
  return values;
}

void report(const char* name, const std::vector<Measured>& runs) {
  std::printf("%-14s run median %.3f s (", name, median(each(runs, [](auto& m) { return m.run; })));
  for (const Measured& m : runs) std::printf(" %.3f", m.run);
  std::printf(" ): scan %.3f, moves %.3f, execution %.3f, record %.3f s (medians)\n",
              median(each(runs, [](auto& m) { return m.scan; })),
              median(each(runs, [](auto& m) { return m.moves; })),
              median(each(runs, [](auto& m) { return m.execution; })),
              median(each(runs, [](auto& m) { return m.record; })));
  std::printf("%-14s device wrote %.2f MiB during the run, %.2f MiB with the sync after it; "
              "copies placed %.2f MiB (medians)\n",
              "", mib(median(each(runs, [](auto& m) { return m.written; }))),
              mib(median(each(runs, [](auto& m) { return m.written_with_sync; }))),
              mib(median(each(runs, [](auto& m) { return m.copied; }))));
  const Measured& last = runs.back();
  std::printf("%-14s moves found %zu, done %zu; copies done %zu; deletions done %zu; withdrawn by "
              "the record %zu; record %ju bytes (%.1f a file) (the last run)\n",
              "", last.moves_found, last.moves_done, last.copies_done, last.deletions_done,
              last.withdrawn, static_cast<std::uintmax_t>(last.record_bytes),
              static_cast<double>(last.record_bytes) / kFiles);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: tavrelon_move_bench DRIVE_BASE [RUNS [FILE_KIB [FOLDER_BASE]]]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const long kib = argc > 3 ? std::atol(argv[3]) : 1024;
  if (runs < 1 || kib < 0) {
    std::fprintf(stderr, "RUNS must be 1 or more, FILE_KIB 0 or more\n");
    return 2;
  }
  const std::string drive_base = std::string(argv[1]) + "/move";
  const std::string folder_base = argc > 4 ? std::string(argv[4]) + "/move" : drive_base;
  Bench bench{folder_base + "/folder", drive_base + "/drive",
              static_cast<std::size_t>(kib) * 1024, device_under(argv[1]),
              state::pair_key("bench", folder_base + "/folder"), {}};
  try {
    bench.make();
    const double first = bench.bring_in_step();
    std::printf("%d files of %ld KiB (%.1f MiB), drive side on %s\n", kFiles, kib,
                mib(std::uint64_t{kFiles} * bench.file_bytes),
                bench.device ? bench.device->c_str() : "(no device)");
    std::printf("first run %.3f s; record %zu bytes (%.1f a file)\n", first, bench.record.size(),
                static_cast<double>(bench.record.size()) / kFiles);
    std::vector<Measured> with, without;
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
      // Each way goes first in turn, so that neither has the warmer start.
      if (run % 2 == 0) {
        with.push_back(bench.timed(true));
        without.push_back(bench.timed(false));
      } else {
        without.push_back(bench.timed(false));
        with.push_back(bench.timed(true));
      }
      ratios.push_back(with.back().run / without.back().run);
    }
    report("with moves", with);
    report("without moves", without);
    const auto whole = [](auto& m) { return m.run; };
    std::printf("with / without: %.4f x (medians), %.4f x (median of the pairs' ratios)\n",
                median(each(with, whole)) / median(each(without, whole)), median(ratios));
  } catch (const RuntimeError& error) {
    std::fprintf(stderr, "run-time error %d (%s:%u)\n", error.number(), error.file().c_str(),
                 error.line());
    return 1;
  }
  fs::remove_all(drive_base);
  if (folder_base != drive_base) fs::remove_all(folder_base);
  return 0;
}
