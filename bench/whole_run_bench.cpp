// One whole run "→" as the program makes it, in a process of its own, so
// that bench/whole_run_compare can time it from outside beside its peers:
// the scan with the pair's record and the drive's others, the record's
// withdrawals, the moves, the execution (every replaced or deleted file
// kept, every copy flushed and read back from its medium) and the record
// written at completion. The window is one that shows nothing and answers
// every question with OK.
//
//   tavrelon_whole_run_bench FOLDER DRIVE_ROOT
//
// Prints the copies, deletions and left entries of the run, and the time of
// each step, on one line.
#include <cstdio>

#include "null_core.h"
#include "timing.h"
#include "errors/runtime_error.h"
#include "scan/both_trees.h"
#include "scan/move_finding.h"
#include "scan/pair_state.h"
#include "scan/scan_trees.h"
#include "volume_state/record_file.h"
#include "volume_state/record_protection.h"
#include "worklist/execution.h"
#include "worklist/record_withdrawal.h"

namespace {

using namespace tav;
using bench::Clock;
using bench::seconds_since;

std::size_t done(const auto& table) {
  std::size_t count = 0;
  for (std::size_t slot = 1; slot <= table.count(); ++slot) {
    count += table.state(slot) == SlotState::Done;
  }
  return count;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tavrelon_whole_run_bench FOLDER DRIVE_ROOT\n");
    return 2;
  }
  const Roots roots = bench::roots_of(argv[1], argv[2]);
  const state::PairKey pair = state::pair_key("bench", argv[1]);
  try {
    auto start = Clock::now();
    WorkTables tables;
    bench::NoProgress progress;
    ScanFindings findings;
    scan_trees(roots, tables, progress, findings, {}, &pair);
    const auto& previous = findings.record.record;
    const state::RecordProtection protection(previous ? &*previous : nullptr,
                                             findings.other_records, roots);
    withdraw_what_the_record_protects(tables, roots, protection);
    if (previous && findings.trees) {
      find_moves(tables, roots, *previous,
                 roots.source(findings.trees->folder, findings.trees->drive).identity_volume);
    }
    const double scan = seconds_since(start);
    start = Clock::now();
    bench::NullWindow window;
    const ExecutionReport report = execute_work_lists(window, tables, roots, {pair});
    const double execution = seconds_since(start);
    start = Clock::now();
    state::write_record(roots, pair,
                        record_after_run(*findings.trees, tables, roots,
                                         previous ? &*previous : nullptr, pair.text));
    const double record = seconds_since(start);
    std::printf("copies %zu, deletions %zu, left %zu, unconfirmed %zu; scan %.3f s, execution "
                "%.3f s, record %.3f s\n",
                done(tables.copies), done(tables.deleted_files), report.left.size(),
                report.unconfirmed, scan, execution, record);
  } catch (const RuntimeError& error) {
    std::fprintf(stderr, "run-time error %d (%s:%u)\n", error.number(), error.file().c_str(),
                 error.line());
    return 1;
  }
  return 0;
}
