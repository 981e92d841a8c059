// The bytes of the state kept on a volume: the record of a run and the
// journal read back as written, whatever does not read whole refused, and
// the record compact.
#include <gtest/gtest.h>

#include "volume_state/byte_codec.h"
#include "volume_state/journal.h"
#include "volume_state/run_record.h"
#include "volume_state/state_folder.h"

namespace tav::state {
namespace {

FileVersion version(std::int64_t seconds, std::uint64_t size, std::uint32_t nanoseconds = 0) {
  return {{seconds, nanoseconds}, size};
}

// A record shaped as a synchronised pair of the benchmarks' trees.
RunRecord pair_record(int leaves, int files_per_leaf) {
  std::vector<RecordedEntry> entries;
  for (int leaf = 0; leaf < leaves; ++leaf) {
    const std::string folder = "top" + std::to_string(leaf / 490) + "/mid" +
                               std::to_string(leaf / 49 % 10) + "/leaf" + std::to_string(leaf % 49);
    entries.push_back({folder, true, FileVersion{}, FileVersion{}});
    for (int file = 0; file < files_per_leaf; ++file) {
      const FileVersion written = version(1700000000, 1, 123456789);
      entries.push_back({folder + "/file" + std::to_string(file) + ".txt", false, written,
                         file % 10 == 0 ? std::nullopt : std::optional(written)});
    }
  }
  return RunRecord("machine\n/home/kim/work", false, std::move(entries));
}

TEST(RunRecord, ReadsBackAsWrittenAndFindsEntriesByEitherSeparator) {
  const RunRecord record("m\nC:\\Work", true,
                         {{"p\\b.txt", false, version(-5, 7), version(1700000001, 8, 999999999)},
                          {"p", true, FileVersion{}, std::nullopt},
                          {"p/a.txt", false, std::nullopt, version(1700000000, 0)}});
  const auto read = decode_record(encode_record(record));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->key(), record.key());
  EXPECT_TRUE(read->ignores_case());
  EXPECT_EQ(read->entries(), record.entries());
  ASSERT_TRUE(read->find("P\\B.TXT"));  // the pair compares names without case
  EXPECT_EQ(read->find("p/b.txt")->drive_side, version(1700000001, 8, 999999999));
  EXPECT_FALSE(read->find("p/c.txt"));
  // One format for both programs: these bytes, and this pair's name, on each.
  const std::string bytes = encode_record(record);
  EXPECT_EQ(bytes.size(), 83u);
  EXPECT_EQ(crc32(bytes), 0x2144df1cu);
  EXPECT_EQ(crc32("123456789"), 0xcbf43926u);  // the checksum's own check value
  EXPECT_EQ(pair_key("3544102a-94da-4748-865a-dbb0c99530da", "C:\\Work").id, "b3f439fca5aa70a4");
}

TEST(RunRecord, WhatDoesNotReadWholeCountsAsNone) {
  const std::string bytes = encode_record(pair_record(2, 3));
  std::string flipped = bytes, newer = bytes;
  flipped[bytes.size() / 2] ^= 0x20;
  // Another version, its checksum right.
  newer.resize(newer.size() - 4);
  newer[std::string_view("TAVRELON RUN RECORD\n").size()] = 2;
  put_word(newer, crc32(newer));
  for (const std::string& damaged :
       {std::string(), bytes.substr(0, bytes.size() / 2), bytes.substr(0, bytes.size() - 1),
        flipped, newer, bytes + "x"}) {
    EXPECT_FALSE(decode_record(damaged)) << damaged.size() << " bytes";
  }
}

TEST(RunRecord, TakesAtMostFortyBytesAFile) {
  // 10 × 10 × 49 leaves of 11 files: the benchmarks' 100,000-file pair.
  const RunRecord record = pair_record(4900, 11);
  const double per_file = static_cast<double>(encode_record(record).size()) / (4900 * 11);
  RecordProperty("bytes_per_file", std::to_string(per_file));
  EXPECT_LE(per_file, 40.0);
}

TEST(Journal, ReadsBackAsWrittenAndPassesOverALineCutOff) {
  Journal journal;
  journal.pair_id = "0123456789abcdef";
  journal.to_drive = false;
  journal.entries = {{Action::FolderMade, "p/新しい", {}, {}},
                     {Action::FileReplaced, "p/a\tb%c.txt", version(1700000000, 5, 1), ".~tavrelon-1-2.tmp"},
                     {Action::FileKept, "p/old.txt", {}, {}},
                     {Action::RecordKept, "", {}, {}}};
  std::string text = head_line(journal);
  for (const auto& entry : journal.entries) text += entry_line(entry);
  const auto read = parse_journal(text + undone_line() + "file-kept\tp/half");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->pair_id, journal.pair_id);
  EXPECT_FALSE(read->to_drive);
  EXPECT_EQ(read->entries, journal.entries);
  EXPECT_TRUE(read->undone);
  EXPECT_FALSE(parse_journal("not a journal\n"));
}

TEST(StateFolder, NamesRunsByTimeAndPair) {
  const PairKey pair = pair_key("machine", "/home/kim/work");
  EXPECT_EQ(pair.id.size(), 16u);
  EXPECT_NE(pair_key("other machine", "/home/kim/work").id, pair.id);
  const std::string name = run_name(1700000000, pair);
  EXPECT_EQ(pair_of_run(name), pair.id);
  EXPECT_EQ(pair_of_run(run_name(1700000000, pair, true)), pair.id);
  EXPECT_LT(run_name(1700000000, pair), run_name(1700000001, pair));
  EXPECT_EQ(pair_of_run("notes"), "");
  EXPECT_TRUE(is_state_folder_name(".TavRelon"));
  EXPECT_FALSE(is_state_folder_name("tavrelon"));
}

}  // namespace
}  // namespace tav::state
