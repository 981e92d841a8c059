// What the execution's checks cost in a run of about 100,000 copies: each
// copy looks at its destination and its source just before it is made, and
// a replacement looks at its destination once more as it is placed. Times
// the whole execution (every file on the drive side an hour older, so every
// file is replaced) and, on the same paths, the three look-ups per copy
// alone, interleaved run by run:
//
//   tavrelon_check_cost_bench BASE [RUNS]
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_trees.h"
#include "null_core.h"
#include "timing.h"
#include "platform/folder_reading.h"
#include "scan/scan_trees.h"
#include "worklist/execution.h"

namespace {

using namespace tav;
using bench::NoProgress;
using bench::Clock;
using bench::median;
using bench::seconds_since;

constexpr int kFilesPerLeaf = 20;  // 4,900 leaves: 98,000 files, within the copy table

void make_drive_side_older(const std::string& drive) {
  bench::for_each_file(kFilesPerLeaf, [&](const std::string&, const std::string& rel, int) {
    bench::write_file(drive + "/" + rel, bench::kOlder);
  });
}

// The look-ups the checks make for every listed copy: the destination, the
// source, and the destination again as the copy is placed.
double seconds_of_the_checks(const WorkTables& tables, const Roots& roots) {
  std::size_t found = 0;
  const auto start = Clock::now();
  for (std::size_t slot = 1; slot <= tables.copies.count(); ++slot) {
    const std::string& path = tables.copies[slot].path;
    found += entry_at(roots.destination_root() + path).has_value();
    found += entry_at(roots.source_root() + path).has_value();
    found += entry_at(roots.destination_root() + path).has_value();
  }
  const double seconds = seconds_since(start);
  if (found != 3 * tables.copies.count()) std::fprintf(stderr, "a look-up found nothing\n");
  return seconds;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tavrelon_check_cost_bench BASE [RUNS]\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/folder", drive = std::string(argv[1]) + "/drive";
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  bench::for_each_file(kFilesPerLeaf, [&](const std::string& leaf, const std::string& rel, int) {
    if (rel.ends_with("/file0.txt")) {
      std::filesystem::create_directories(folder + "/" + leaf);
      std::filesystem::create_directories(drive + "/" + leaf);
    }
    bench::write_file(folder + "/" + rel, bench::kWritten);
  });
  const Roots roots = bench::roots_of(folder, drive);

  std::vector<double> executions, checks;
  std::size_t copies = 0;
  for (int run = 0; run < runs; ++run) {
    make_drive_side_older(drive);
    WorkTables tables;
    NoProgress progress;
    scan_trees(roots, tables, progress);
    copies = tables.copies.count();
    bench::NullWindow window;
    auto start = Clock::now();
    execute_work_lists(window, tables, roots, {state::pair_key("bench", folder)});
    executions.push_back(seconds_since(start));
    // What the run kept goes before the next run.
    std::filesystem::remove_all(drive + "/.tavrelon");
    checks.push_back(seconds_of_the_checks(tables, roots));
  }
  const double execution = median(executions), check = median(checks);
  std::printf("%zu copies, %d runs\n", copies, runs);
  std::printf("execution, checks included: median %.3f s\n", execution);
  std::printf("the checks' look-ups alone:  median %.3f s (%.1f%% of the execution)\n", check,
              100 * check / execution);
  return 0;
}
