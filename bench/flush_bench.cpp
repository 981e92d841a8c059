// What flushing copies to their medium costs: the same copies written
// without any flush, with a flush of each file, with one flush of the file
// system at the end, and in the batches the execution makes (flushed per
// batch, then once at the end), for many small files and for fewer large
// ones, interleaved run by run:
//
//   tavrelon_flush_bench FOLDER [RUNS]
//
// FOLDER is on the medium to measure (a disk folder by default).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "files/copy_batch.h"
#include "files/operations.h"
#include "files/temporary_file.h"
#include "worklist/execution.h"
#include "timing.h"

namespace {

using namespace tav;
using bench::Clock;
using bench::median;
using bench::seconds_since;
namespace fs = std::filesystem;

struct Set {
  const char* name;
  int files;
  std::size_t size;
};

// The program's own steps of a copy, without the flush.
void copy_unflushed(const std::string& source, const std::string& destination) {
  sys::OpenFile in(sys::open_source(source));
  sys::FileFacts facts;
  sys::read_facts(in.get(), facts);
  sys::TemporaryFile out(destination);
  std::vector<char> buffer(1 << 20);
  while (const auto got = sys::read_some(in.get(), buffer.data(), buffer.size())) {
    sys::write_all(out.get(), buffer.data(), static_cast<std::size_t>(got));
  }
  sys::CopyDevices devices;
  sys::keep_times(out.get(), facts, devices);
  out.place();
}

using Way = std::function<void(const std::vector<std::string>&, const std::string&)>;

double seconds_of(const Way& way, const std::vector<std::string>& names, const std::string& to) {
  fs::remove_all(to);
  fs::create_directories(to);
  ::sync();
  const auto start = Clock::now();
  way(names, to);
  return seconds_since(start);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tavrelon_flush_bench FOLDER [RUNS]\n");
    return 2;
  }
  const std::string base = argv[1];
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  for (const Set set : {Set{"10,000 x 4 KiB", 10000, 4096}, Set{"1,000 x 1 MiB", 1000, 1 << 20}}) {
    const std::string from = base + "/source", to = base + "/copies";
    fs::remove_all(from);
    fs::create_directories(from);
    std::vector<std::string> names;
    const std::string content(set.size, 'x');
    for (int i = 0; i < set.files; ++i) {
      names.push_back("f" + std::to_string(i));
      std::ofstream(from + "/" + names.back()) << content;
    }
    const auto each = [&](const std::function<void(const std::string&, const std::string&)>& copy) {
      return [&, copy](const std::vector<std::string>& files, const std::string& folder) {
        for (const auto& name : files) copy(from + "/" + name, folder + "/" + name);
      };
    };
    const Way unflushed = each(copy_unflushed);
    const Way synced_at_end = [&](const auto& files, const auto& folder) {
      unflushed(files, folder);
      flush_changes({folder});
    };
    const Way flushed_each = [&](const auto& files, const auto& folder) {
      each([](const std::string& s, const std::string& d) { copy_file(s, d); })(files, folder);
      flush_changes({folder});
    };
    const Way batched = [&](const auto& files, const auto& folder) {
      CopyBatch batch(kBatchLimits);
      for (const auto& name : files) {
        batch.add(from + "/" + name, folder + "/" + name, Replaces::nothing());
        if (batch.full()) batch.place();
      }
      batch.place();
      flush_changes({folder});
    };
    std::vector<double> times[4];
    const Way* ways[4] = {&unflushed, &synced_at_end, &flushed_each, &batched};
    for (int run = 0; run < runs; ++run) {
      for (int way = 0; way < 4; ++way) times[way].push_back(seconds_of(*ways[way], names, to));
    }
    const double base_time = median(times[0]);
    const char* labels[4] = {"unflushed", "one file system flush at the end", "each file flushed",
                             "in batches, flushed per batch and at the end"};
    std::printf("%s, %d runs (median):\n", set.name, runs);
    for (int way = 0; way < 4; ++way) {
      std::printf("  %-46s %7.3f s  %5.2fx\n", labels[way], median(times[way]),
                  median(times[way]) / base_time);
    }
    fs::remove_all(from);
    fs::remove_all(to);
  }
  return 0;
}
