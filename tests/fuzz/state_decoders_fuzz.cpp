// The decoders of what a volume holds, fed mutated bytes for a few seconds
// under the address and undefined-behaviour sanitizers: the record and the
// journal read any bytes without a crash, an overflow or a read out of
// bounds, and what a record decodes to stays within a small multiple of its
// own size. A fixed seed: every run tries the same inputs.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "volume_state/journal.h"
#include "volume_state/run_record.h"

namespace {

using namespace tav::state;
using tav::FileVersion;

RunRecord sample_record() {
  std::vector<RecordedEntry> entries;
  for (int i = 0; i < 40; ++i) {
    const std::string folder = "top/sub" + std::to_string(i % 5);
    const FileVersion version{{1700000000 + i * 7, static_cast<std::uint32_t>(i)}, 1000u + i};
    entries.push_back({folder, {true, FileVersion{}, FileVersion{}}});
    entries.push_back({folder + "/file" + std::to_string(i) + ".txt",
                       {false, version, i % 3 ? std::optional(version) : std::nullopt}});
  }
  return RunRecord("key\n/home/kim/work", true, std::move(entries));
}

std::string sample_journal() {
  return "TAVRELON JOURNAL 1\t0123456789abcdef\tto-drive\tbegan\t1700000000\nrecord-kept\n"
         "folder-made\tp/新しい\nfile-placed\tp/a.txt\t5\t1700000000\t1\t.~tavrelon-1-2.tmp\n"
         "file-replaced\tp/b%25.txt\t7\t-5\t0\t\nfile-kept\tp/old.txt\nfolder-removed\tp/gone\n"
         "file-left\tp/a.txt\nundone\n";
}

// One mutation of the bytes, of the kinds a damaged or crafted file holds.
void mutate(std::string& bytes, std::mt19937_64& random) {
  const auto at = [&](std::size_t size) { return size == 0 ? 0 : random() % size; };
  switch (random() % 6) {
    case 0:
      if (!bytes.empty()) bytes[at(bytes.size())] ^= static_cast<char>(1u << (random() % 8));
      break;
    case 1:
      if (!bytes.empty()) bytes[at(bytes.size())] = static_cast<char>(random() % 256);
      break;
    case 2:
      bytes.insert(at(bytes.size() + 1), 1, static_cast<char>(random() % 256));
      break;
    case 3:
      if (!bytes.empty()) bytes.erase(at(bytes.size()), 1 + random() % 8);
      break;
    case 4: {  // a chunk repeated: shared prefixes, long paths, many entries
      if (bytes.empty()) break;
      const std::size_t from = at(bytes.size()), length = 1 + random() % 32;
      const std::string chunk = bytes.substr(from, length);
      for (int n = static_cast<int>(random() % 64); n > 0; --n) bytes.insert(from, chunk);
      break;
    }
    default:  // a number at its extreme
      if (!bytes.empty()) bytes.replace(at(bytes.size()), 0, "\xff\xff\xff\xff\xff\xff\xff\xff\xff\x01");
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  const double seconds = argc > 1 ? std::stod(argv[1]) : 3.0;
  std::mt19937_64 random(20261209);
  const std::vector<std::string> seeds{encode_record(sample_record()), sample_journal()};
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::size_t tried = 0;
  while (std::chrono::steady_clock::now() < until) {
    std::string bytes = seeds[tried % seeds.size()];
    for (int n = 1 + static_cast<int>(random() % 8); n > 0; --n) mutate(bytes, random);
    if (const auto record = decode_record(bytes)) {
      std::size_t text = 0;
      for (const auto& entry : record->entries()) text += entry.path.size();
      if (text > 16 * bytes.size()) {
        std::fprintf(stderr, "%zu bytes of record decoded to %zu of paths\n", bytes.size(), text);
        return 1;
      }
    }
    parse_journal(bytes);
    ++tried;
  }
  std::printf("%zu inputs decoded\n", tried);
  return 0;
}
