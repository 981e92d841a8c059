// The pair of trees the benchmarks measure: a folder side and a drive side
// of 10 × 10 × 49 leaf folders (10,020 folders each, roots included) with
// 11 files per leaf by default. One file in ten is missing on the drive
// side, one in ten is an hour older there, the rest are equal: a run "→"
// copies one file in five.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace tav::bench {

inline void write_file(const std::string& path, std::time_t when) {
  std::ofstream(path) << "x";
  const timespec times[2] = {{when, 0}, {when, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// When each file of the pair was written.
inline constexpr std::time_t kWritten = 1700000000;
inline constexpr std::time_t kOlder = kWritten - 3600;

inline bool file_is_older_on_drive(int serial) { return serial % 5 == 0 && serial % 10 != 0; }
inline bool file_is_missing_on_drive(int serial) { return serial % 10 == 0; }

// Calls f(rel, serial) for every file of the pair, in the order made.
template <typename F>
void for_each_file(int files_per_leaf, F f) {
  int serial = 0;
  for (int a = 0; a < 10; ++a) {
    for (int b = 0; b < 10; ++b) {
      for (int c = 0; c < 49; ++c) {
        const std::string leaf = "top" + std::to_string(a) + "/mid" + std::to_string(b) + "/leaf" +
                                 std::to_string(c);
        for (int file = 0; file < files_per_leaf; ++file, ++serial) {
          f(leaf, leaf + "/file" + std::to_string(file) + ".txt", serial);
        }
      }
    }
  }
}

inline void make_trees(const std::string& folder_side, const std::string& drive_side,
                       int files_per_leaf) {
  for_each_file(files_per_leaf, [&](const std::string& leaf, const std::string& rel, int serial) {
    if (rel.ends_with("/file0.txt")) {
      std::filesystem::create_directories(folder_side + "/" + leaf);
      std::filesystem::create_directories(drive_side + "/" + leaf);
    }
    write_file(folder_side + "/" + rel, kWritten);
    if (file_is_missing_on_drive(serial)) return;
    write_file(drive_side + "/" + rel, file_is_older_on_drive(serial) ? kOlder : kWritten);
  });
}

// Puts the drive side back as make_trees left it after a run "→" copied
// onto it.
inline void restore_drive_side(const std::string& drive_side, int files_per_leaf) {
  for_each_file(files_per_leaf, [&](const std::string&, const std::string& rel, int serial) {
    const std::string path = drive_side + "/" + rel;
    if (file_is_missing_on_drive(serial)) {
      std::filesystem::remove(path);
    } else if (file_is_older_on_drive(serial)) {
      write_file(path, kOlder);
    }
  });
}

}  // namespace tav::bench
