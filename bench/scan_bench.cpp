// Times the scan of the core, without a window, over a generated pair of
// large trees (made on first use), once per run of this program:
//
//   tavrelon_scan_bench [BASE [FILES_PER_LEAF]]
//
// BASE holds the pair as BASE/folder and BASE/drive. Prints the scan's
// time, what it found and the peak resident memory; bench/scan_compare
// runs it beside its peers.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_trees.h"
#include "scan/scan_trees.h"
#include "worklist/destination_check.h"
#include "worklist/list_lines.h"

namespace {

using namespace tav;
using Clock = std::chrono::steady_clock;

// Progress that shows nothing: the scan's own cost alone.
class CountedProgress final : public ScanProgress {
 public:
  void searching(std::string_view) override {}
  void between_steps() override { ++events; }

  std::size_t events = 0;
};

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string base =
      argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string() + "/tavrelon-bench";
  const int files_per_leaf = argc > 2 ? std::atoi(argv[2]) : 11;
  const std::string folder_side = base + "/folder", drive_side = base + "/drive";

  if (!std::filesystem::exists(folder_side)) {
    const auto start = Clock::now();
    bench::make_trees(folder_side, drive_side, files_per_leaf);
    std::printf("made the trees in %.2f s\n", seconds_since(start));
  }

  Roots roots;
  roots.direction = Direction::FolderToDrive;
  roots.folder_path = folder_side;
  roots.folder_root = folder_side + "/";
  roots.drive_root = drive_side + "/";
  CountedProgress progress;
  WorkTables tables;

  const auto start = Clock::now();
  scan_trees(roots, tables, progress);
  const double scan_time = seconds_since(start);

  const auto lines_start = Clock::now();
  const auto lines = list1_lines(tables, roots);
  const double lines_time = seconds_since(lines_start);

  // The checks after the scan, at their dearest: Windows' names onto a
  // volume that ignores case (as onto exFAT).
  const auto checks_start = Clock::now();
  const auto refused = withdraw_refused_entries(tables, roots, rules_for("exFAT", true, true));
  const double checks_time = seconds_since(checks_start);

  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("scan: %.3f s (%zu copies, %zu new folders, %zu file and %zu folder deletions, "
              "%zu event calls)\n",
              scan_time, tables.copies.count(), tables.new_folders.count(),
              tables.deleted_files.count(), tables.deleted_folders.count(), progress.events);
  std::printf("LIST1 lines: %zu in %.3f s\n", lines.size(), lines_time);
  std::printf("destination checks: %zu withdrawn in %.3f s\n", refused.size(), checks_time);
  std::printf("peak resident memory: %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  return 0;
}
