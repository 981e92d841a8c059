// What the record of a pair's last run costs, over the benchmarks' pair of
// 100,000-file trees (made on first use): the scan with the record read and
// checked against the scan alone, the record's size on the drive, and its
// writing at completion as a share of a whole run "→":
//
//   tavrelon_record_bench BASE [RUNS]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_trees.h"
#include "null_core.h"
#include "timing.h"
#include "scan/scan_trees.h"
#include "volume_state/record_file.h"
#include "worklist/execution.h"
#include "scan/pair_state.h"
#include "volume_state/state_layout.h"
#include "worklist/record_withdrawal.h"

namespace {

using namespace tav;
using bench::Clock;
using bench::median;
using bench::seconds_since;

constexpr int kFilesPerLeaf = 11;

// The scan, and with_record the record read and checked after it.
double seconds_of_the_scan(const Roots& roots, const state::PairKey& pair, bool with_record) {
  WorkTables tables;
  bench::NoProgress progress;
  const auto start = Clock::now();
  ScanFindings findings;
  scan_trees(roots, tables, progress, findings, {}, with_record ? &pair : nullptr);
  if (with_record) {
    const auto& record = findings.record.record;
    if (!record) std::fprintf(stderr, "no record\n");
    const state::RecordProtection protection(record ? &*record : nullptr, findings.other_records,
                                             roots);
    withdraw_what_the_record_protects(tables, roots, protection);
  }
  return seconds_since(start);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tavrelon_record_bench BASE [RUNS]\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/folder", drive = std::string(argv[1]) + "/drive";
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  if (!std::filesystem::exists(folder)) bench::make_trees(folder, drive, kFilesPerLeaf);
  const Roots roots = bench::roots_of(folder, drive);
  const state::PairKey pair = state::pair_key("bench", folder);

  std::vector<double> runs_whole, writes;
  for (int run = 0; run < runs; ++run) {
    bench::restore_drive_side(drive, kFilesPerLeaf);
    std::filesystem::remove_all(drive + "/.tavrelon");
    const auto start = Clock::now();
    WorkTables tables;
    bench::NoProgress progress;
    ScanFindings findings;
    scan_trees(roots, tables, progress, findings, {}, &pair);
    bench::NullWindow window;
    execute_work_lists(window, tables, roots, {pair});
    const auto writing = Clock::now();
    const auto& previous = findings.record.record;
    state::write_record(roots, pair,
                        record_after_run(*findings.trees, tables, roots,
                                         previous ? &*previous : nullptr, pair.text));
    writes.push_back(seconds_since(writing));
    runs_whole.push_back(seconds_since(start));
  }
  const auto record_size =
      std::filesystem::file_size(roots.drive_root + state::layout::record(pair.id));
  const auto entries = state::read_record(roots, pair, 0).record->size();

  std::vector<double> without, with;
  for (int run = 0; run < runs; ++run) {
    without.push_back(seconds_of_the_scan(roots, pair, false));
    with.push_back(seconds_of_the_scan(roots, pair, true));
  }
  std::printf("scan alone: median %.3f s; with the record read and checked: median %.3f s "
              "(%.3f x)\n",
              median(without), median(with), median(with) / median(without));
  std::printf("record: %ju bytes for %zu entries (%.1f bytes an entry)\n",
              static_cast<std::uintmax_t>(record_size), entries,
              static_cast<double>(record_size) / static_cast<double>(entries));
  std::printf("a whole run: median %.3f s; writing the record at completion: median %.3f s "
              "(%.1f%%)\n",
              median(runs_whole), median(writes), 100 * median(writes) / median(runs_whole));
  return 0;
}
