// The check of placed copies: the hash a copy takes is XXH3 however its
// bytes come; a file read back from the medium matches it where the medium
// kept the bytes, and is named where it lost them (a stick that keeps less
// than it takes, a flipped byte) or will not give them back; a stop is
// heard at once.
#include "files/read_back.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "files/copy_batch.h"
#include "platform/system_faults.h"
#include "support/lying_volume.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::TempTree;

// Bytes that differ from one file to the next and from zeros.
std::string bytes_of(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  std::uint32_t x = seed * 2654435761u + 1;
  for (char& c : bytes) {
    x = x * 1664525u + 1013904223u;
    c = static_cast<char>(x >> 24 | 1);
  }
  return bytes;
}

ReadBack read_back(const std::string& path, ContentHash written,
                   const ReadBackProgress& progress = {}) {
  ReadBackCheck check;
  return check.check(path, written, progress);
}

TEST(ContentHash, IsXxh3OfTheBytesInWhateverPieces) {
  EXPECT_EQ(content_hash(""), 0x2D06800538D394C2u);  // XXH3's own value, the same everywhere
  EXPECT_EQ(ContentHasher().digest(), content_hash(""));
  for (const std::size_t size : {3u, 240u, 241u, 5000u, (1u << 20) + 17}) {
    const std::string bytes = bytes_of(size, static_cast<unsigned>(size));
    ContentHasher pieces;
    for (std::size_t at = 0, piece = 1; at < size; at += piece, piece = piece * 3 + 1) {
      pieces.update(std::string_view(bytes).substr(at, piece));
    }
    EXPECT_EQ(pieces.digest(), content_hash(bytes)) << size;
    std::string flipped = bytes;
    flipped[size / 2] ^= 1;
    EXPECT_NE(content_hash(flipped), content_hash(bytes)) << size;
  }
}

// Files around the sizes a read past the cache works in (sectors, chunks)
// read back whole and match; a file that no longer holds what was hashed
// differs.
void expect_read_back_on(const std::string& folder) {
  TempTree tree(folder);
  for (const std::size_t size : {0u, 1u, 4095u, 4096u, (1u << 20) + 4097}) {
    const std::string bytes = bytes_of(size, 7);
    const std::string path = tree.file("f" + std::to_string(size), bytes).path(
        "f" + std::to_string(size));
    std::uint64_t read = 0;
    EXPECT_EQ(read_back(path, content_hash(bytes), [&](std::uint64_t so_far) {
                read = so_far;
                return true;
              }),
              ReadBack::Match)
        << folder << " " << size;
    EXPECT_EQ(read, size);
  }
  tree.file("changed", "what the medium holds");
  EXPECT_EQ(read_back(tree.path("changed"), content_hash("what was written")), ReadBack::Differs);
}

TEST(ReadBack, MatchesWhereTheMediumKeptTheBytes) { expect_read_back_on(TempTree().root()); }

TEST(ReadBack, MatchesOnStickFileSystems) {
  bool any = false;
  for (const char* kind : {"exfat", "fat32"}) {
    if (const auto root = test::test_volume_root(kind)) {
      expect_read_back_on(root->substr(0, root->size() - 1));
      any = true;
    }
  }
  if (!any) GTEST_SKIP() << "this test run mounted no exFAT or FAT32 volume";
}

TEST(ReadBack, AFileThatWillNotBeReadIsUnreadableNotAnError) {
  TempTree tree;
  const std::string bytes = bytes_of((2 << 20) + 5, 3);  // three chunks
  tree.file("f", bytes);
  const std::pair<sys::Call, std::size_t> failures[] = {
      {sys::Call::Open, 1}, {sys::Call::Read, 1}, {sys::Call::Read, 3}};
  for (const auto& [call, nth] : failures) {
    const sys::FaultPlan plan(call, nth, sys::kIoDevice);
    EXPECT_EQ(read_back(tree.path("f"), content_hash(bytes)), ReadBack::Unreadable) << nth;
    EXPECT_TRUE(plan.struck());
  }
  EXPECT_EQ(read_back(tree.path("gone"), content_hash("")), ReadBack::Unreadable);
}

TEST(ReadBack, StopsAtOnce) {
  TempTree tree;
  const std::string bytes = bytes_of((2 << 20) + 5, 4);
  tree.file("f", bytes);
  for (const std::size_t stop_at : {1u, 2u}) {
    std::size_t calls = 0;
    EXPECT_EQ(read_back(tree.path("f"), content_hash(bytes),
                        [&](std::uint64_t) { return ++calls < stop_at; }),
              ReadBack::Stopped);
    EXPECT_EQ(calls, stop_at);
  }
}

// Copies onto a lying volume in order, from sources of the test's tree.
std::vector<std::string> copy_onto(TempTree& tree, const test::LyingVolume& volume,
                                   std::size_t files, std::size_t size) {
  std::vector<std::string> sources;
  for (std::size_t i = 0; i < files; ++i) {
    const std::string rel = "f" + std::to_string(i);
    sources.push_back(bytes_of(size, static_cast<unsigned>(i)));
    tree.file("source/" + rel, sources.back());
    copy_file(tree.path("source/" + rel), volume.path(rel));
  }
  return sources;
}

// Whether the file system reads past the cache itself or only drops the
// file's cached pages first.
TEST(ReadBack, FindsWhatAStickThatHoldsLessLost) {
  for (const bool refuses_direct_reads : {false, true}) {
    TempTree tree;
    constexpr std::size_t kSize = 100 << 10;
    test::LyingVolume stick(tree, test::keeps_only(3 * kSize + kSize / 2, refuses_direct_reads));
    if (!stick.why_not().empty()) GTEST_SKIP() << stick.why_not();
    const auto written = copy_onto(tree, stick, 5, kSize);
    const ReadBack expected[] = {ReadBack::Match, ReadBack::Match, ReadBack::Match,
                                 ReadBack::Differs, ReadBack::Differs};
    for (std::size_t i = 0; i < written.size(); ++i) {
      const std::string path = stick.path("f" + std::to_string(i));
      EXPECT_EQ(entry_at(path)->size, kSize);  // its listing looks whole
      EXPECT_EQ(read_back(path, content_hash(written[i])), expected[i])
          << i << (refuses_direct_reads ? " without direct reads" : "");
    }
  }
}

TEST(ReadBack, FindsAFlippedByte) {
  TempTree tree;
  test::LyingVolume stick(tree, test::flips_a_byte_of("f1"));
  if (!stick.why_not().empty()) GTEST_SKIP() << stick.why_not();
  const auto written = copy_onto(tree, stick, 3, 4096);
  // A read through the system's cache sees nothing wrong: only the medium lies.
  EXPECT_EQ(tree.read("lying/f1"), written[1]);
  EXPECT_EQ(read_back(stick.path("f0"), content_hash(written[0])), ReadBack::Match);
  EXPECT_EQ(read_back(stick.path("f1"), content_hash(written[1])), ReadBack::Differs);
  EXPECT_EQ(read_back(stick.path("f2"), content_hash(written[2])), ReadBack::Match);
}

}  // namespace
}  // namespace tav
