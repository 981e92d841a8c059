// What the read-back check of the copies costs: a whole run "→" of the
// benchmarks' pair of trees with every placed copy read back from its
// medium, against the same run with the check left out, alternated in one
// process. The drive side lies under DRIVE_BASE (a disk folder, or the root
// of a mounted stick's image, written whole and loop-mounted with direct
// I/O as keeping_bench.cpp says); the folder side under FOLDER_BASE, the
// computer's own disk, or DRIVE_BASE when none is given:
//
//   tavrelon_copy_check_bench DRIVE_BASE [RUNS [tiny|sized [FOLDER_BASE]]]
//
// "tiny" keeps the trees' files of one byte, where a copy and its check
// cost what opening, flushing and naming a file cost; "sized" gives the
// 10,780 files a run copies 4, 16, 64 and 256 KiB in turn (916 MB a run),
// where the check reads what it checks. Where the drive side's device is
// known (the deepest mount holding DRIVE_BASE), its own counters give the
// bytes it read and wrote during the run's copying and during the check.
// A fourth way, "check, device dropped", first drops the device's own
// cached blocks as the check begins: what the check costs where nothing
// below the file system holds the blocks just written (a driver in user
// space writes a stick through the device's cache).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench_trees.h"
#include "null_core.h"
#include "device_cache.h"
#include "timing.h"
#include "scan/scan_trees.h"
#include "worklist/execution.h"

namespace {

using namespace tav;
using bench::Clock;
using bench::device_under;
using bench::drop_from_cache;
using bench::median;
using bench::seconds_since;

constexpr int kFilesPerLeaf = 11;

// --- The trees --------------------------------------------------------------

bool copied_by_the_run(int serial) {
  return bench::file_is_missing_on_drive(serial) || bench::file_is_older_on_drive(serial);
}

// The size of a copied file in the sized trees: 4, 16, 64, 256 KiB in turn.
std::size_t sized(int serial) { return std::size_t{4096} << (2 * ((serial / 5) % 4)); }

void write_sized(const std::string& path, std::size_t size, char fill, std::time_t when) {
  std::ofstream(path, std::ios::binary) << std::string(size, fill);
  const timespec times[2] = {{when, 0}, {when, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// The files the run copies given their sizes, the drive's older ones too.
void size_the_trees(const std::string& folder, const std::string& drive) {
  bench::for_each_file(kFilesPerLeaf, [&](const std::string&, const std::string& rel, int serial) {
    if (!copied_by_the_run(serial)) return;
    write_sized(folder + "/" + rel, sized(serial), 'n', bench::kWritten);
    if (bench::file_is_older_on_drive(serial)) {
      write_sized(drive + "/" + rel, sized(serial), 'o', bench::kOlder);
    }
  });
}

void restore_sized_drive(const std::string& drive) {
  bench::for_each_file(kFilesPerLeaf, [&](const std::string&, const std::string& rel, int serial) {
    const std::string path = drive + "/" + rel;
    if (bench::file_is_missing_on_drive(serial)) {
      std::filesystem::remove(path);
    } else if (bench::file_is_older_on_drive(serial)) {
      write_sized(path, sized(serial), 'o', bench::kOlder);
    }
  });
}

std::uint64_t bytes_copied(bool sized_trees) {
  std::uint64_t bytes = 0;
  bench::for_each_file(kFilesPerLeaf, [&](const std::string&, const std::string&, int serial) {
    if (copied_by_the_run(serial)) bytes += sized_trees ? sized(serial) : 1;
  });
  return bytes;
}

// --- The device's own counters ------------------------------------------------


struct DeviceBytes {
  std::uint64_t read = 0, written = 0;
};

// Sectors of 512 bytes read and written, fields 3 and 7 of the block
// device's stat.
DeviceBytes device_bytes(const std::optional<std::string>& device) {
  if (!device) return {};
  const std::string name = std::filesystem::path(*device).filename().string();
  std::ifstream stat("/sys/class/block/" + name + "/stat");
  std::uint64_t field[7] = {};
  for (auto& value : field) stat >> value;
  return {field[2] * 512, field[6] * 512};
}


// --- A window that notes when the check begins ----------------------------------

class CheckWatch final : public bench::NullWindow {
 public:
  CheckWatch(const std::optional<std::string>& device, bool drop_device)
      : device_(device), drop_device_(drop_device) {}

  bool check_began() const { return began_.has_value(); }
  Clock::time_point began() const { return *began_; }
  DeviceBytes at_check() const { return at_check_; }

  void set_text(Control control, std::string_view text) override {
    if (control != Control::Text1 || began_ || !text.starts_with("確認中")) return;
    if (drop_device_ && device_) drop_from_cache(*device_);
    at_check_ = device_bytes(device_);
    began_ = Clock::now();
  }

 private:
  const std::optional<std::string>& device_;
  const bool drop_device_;
  std::optional<Clock::time_point> began_;
  DeviceBytes at_check_;
};

// --- The runs ---------------------------------------------------------------------

enum class Way { Without, Check, CheckDeviceDropped };

struct Measured {
  double run = 0;    // the whole execution
  double check = 0;  // of which the check
  DeviceBytes copying, checking;
  std::size_t unconfirmed = 0;
};

struct Bench {
  std::string folder, drive;
  bool sized_trees = false;
  std::optional<std::string> device;

  // The drive side as the trees made it, nothing of it in any cache.
  void restore() const {
    std::filesystem::remove_all(drive + "/.tavrelon");
    if (sized_trees) {
      restore_sized_drive(drive);
    } else {
      bench::restore_drive_side(drive, kFilesPerLeaf);
    }
    ::sync();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(drive)) {
      if (entry.is_regular_file()) drop_from_cache(entry.path().string());
    }
    if (device) drop_from_cache(*device);
  }

  Measured run(Way way) const {
    restore();
    const Roots roots = bench::roots_of(folder, drive);
    WorkTables tables;
    bench::NoProgress progress;
    scan_trees(roots, tables, progress);
    CheckWatch window(device, way == Way::CheckDeviceDropped);
    RunSetting setting{state::pair_key("bench", folder)};
    setting.check_copies = way != Way::Without;
    const DeviceBytes before = device_bytes(device);
    const auto start = Clock::now();
    const ExecutionReport report = execute_work_lists(window, tables, roots, setting);
    const auto end = Clock::now();
    const DeviceBytes after = device_bytes(device);
    Measured m;
    m.run = std::chrono::duration<double>(end - start).count();
    m.unconfirmed = report.unconfirmed;
    const DeviceBytes at_check = window.check_began() ? window.at_check() : after;
    m.copying = {at_check.read - before.read, at_check.written - before.written};
    m.checking = {after.read - at_check.read, after.written - at_check.written};
    if (window.check_began()) m.check = std::chrono::duration<double>(end - window.began()).count();
    return m;
  }
};

std::vector<double> seconds(const std::vector<Measured>& runs) {
  std::vector<double> whole;
  for (const Measured& m : runs) whole.push_back(m.run);
  return whole;
}

double mib(std::uint64_t bytes) { return static_cast<double>(bytes) / (1 << 20); }

void report(const char* name, const std::vector<Measured>& runs) {
  const std::vector<double> whole = seconds(runs);
  std::vector<double> check, copy_read, copy_written, check_read;
  std::size_t unconfirmed = 0;
  for (const Measured& m : runs) {
    check.push_back(m.check);
    copy_read.push_back(mib(m.copying.read));
    copy_written.push_back(mib(m.copying.written));
    check_read.push_back(mib(m.checking.read));
    unconfirmed += m.unconfirmed;
  }
  std::printf("%-24s run median %.3f s (", name, median(whole));
  for (const double s : whole) std::printf(" %.3f", s);
  std::printf(" ), check median %.3f s; device during the copying: read %.1f MiB, written "
              "%.1f MiB; during the check: read %.1f MiB (medians); unconfirmed %zu\n",
              median(check), median(copy_read), median(copy_written), median(check_read),
              unconfirmed);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: tavrelon_copy_check_bench DRIVE_BASE [RUNS [tiny|sized [FOLDER_BASE]]]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string trees = argc > 3 ? argv[3] : "tiny";
  const std::string drive_base = std::string(argv[1]) + "/check-" + trees;
  const std::string folder_base = argc > 4 ? std::string(argv[4]) + "/check-" + trees : drive_base;
  Bench bench{folder_base + "/folder", drive_base + "/drive", trees == "sized",
              device_under(argv[1])};
  if (!std::filesystem::exists(bench.drive)) {
    std::filesystem::remove_all(bench.folder);
    bench::make_trees(bench.folder, bench.drive, kFilesPerLeaf);
    if (bench.sized_trees) size_the_trees(bench.folder, bench.drive);
  }
  std::vector<Measured> without, with, dropped;
  std::vector<double> ratios;
  for (int run = 0; run < runs; ++run) {
    // Each way goes first in turn, so that neither has the warmer start.
    if (run % 2 == 0) {
      with.push_back(bench.run(Way::Check));
      without.push_back(bench.run(Way::Without));
    } else {
      without.push_back(bench.run(Way::Without));
      with.push_back(bench.run(Way::Check));
    }
    ratios.push_back(with.back().run / without.back().run);
    if (bench.device) dropped.push_back(bench.run(Way::CheckDeviceDropped));
  }
  std::printf("%d runs of %s trees, drive side on %s: %.1f MiB copied a run\n", runs,
              trees.c_str(), bench.device ? bench.device->c_str() : "(no device)",
              mib(bytes_copied(bench.sized_trees)));
  report("without the check", without);
  report("with the check", with);
  if (!dropped.empty()) report("check, device dropped", dropped);
  std::printf("with / without: %.3f x (medians), %.3f x (median of the pairs' ratios)\n",
              median(seconds(with)) / median(seconds(without)), median(ratios));
  if (!dropped.empty()) {
    std::printf("check with the device dropped / without: %.3f x\n",
                median(seconds(dropped)) / median(seconds(without)));
  }
  return 0;
}
