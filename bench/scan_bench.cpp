// Times the scan over a generated pair of trees and reports its peak memory.
//
//   tavrelon_scan_bench [FOLDER] [FILES_PER_LEAF]
//
// Builds two trees under FOLDER (default: a new temporary folder), each with
// 10 first-level folders of 10 folders of 49 folders (5,010 folders a tree,
// 10,020 in all) and FILES_PER_LEAF files in each of the 4,900 deepest folders
// of the folder side (default 11: 53,900 files). The drive side lacks every
// tenth of them (48,510 files: 102,410 in all) and holds older copies of every
// fifth, so the scan finds creations, updates and
// deletions. Then it runs the scan as the program does and prints the time
// of each step and the peak resident memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "scan/scan_trees.h"
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

void write_file(const std::string& path, std::time_t when) {
  std::ofstream(path) << "x";
  const timespec times[2] = {{when, 0}, {when, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void make_trees(const std::string& folder_side, const std::string& drive_side, int files_per_leaf) {
  const std::time_t now = std::time(nullptr);
  int serial = 0;
  for (int a = 0; a < 10; ++a) {
    for (int b = 0; b < 10; ++b) {
      for (int c = 0; c < 49; ++c) {
        const std::string rel = "top" + std::to_string(a) + "/mid" + std::to_string(b) + "/leaf" +
                                std::to_string(c);
        std::filesystem::create_directories(folder_side + "/" + rel);
        std::filesystem::create_directories(drive_side + "/" + rel);
        for (int f = 0; f < files_per_leaf; ++f, ++serial) {
          const std::string name = "/" + rel + "/file" + std::to_string(f) + ".txt";
          write_file(folder_side + name, now);
          if (serial % 10 == 0) continue;                       // missing on the drive
          write_file(drive_side + name, serial % 5 == 0 ? now - 3600 : now);  // older or equal
        }
      }
    }
  }
}

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  std::string base = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string() + "/tavrelon-bench";
  const int files_per_leaf = argc > 2 ? std::atoi(argv[2]) : 11;
  const std::string folder_side = base + "/folder", drive_side = base + "/drive";

  if (!std::filesystem::exists(folder_side)) {
    const auto start = Clock::now();
    make_trees(folder_side, drive_side, files_per_leaf);
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

  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("scan: %.2f s (%zu copies, %zu new folders, %zu file and %zu folder deletions, %zu event calls)\n",
              scan_time, tables.copies.count(), tables.new_folders.count(),
              tables.deleted_files.count(), tables.deleted_folders.count(), progress.events);
  std::printf("LIST1 lines: %zu in %.3f s\n", lines.size(), lines_time);
  std::printf("peak resident memory: %.1f MiB\n", usage.ru_maxrss / 1024.0);
  return 0;
}
