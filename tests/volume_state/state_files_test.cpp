// The bytes of the state kept on a volume: the record of a run and the
// journal read back as written, whatever does not read whole refused, and
// the record compact.
#include <gtest/gtest.h>

#include "volume_state/byte_codec.h"
#include "volume_state/journal.h"
#include "volume_state/run_record.h"
#include "volume_state/state_layout.h"

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
      const auto number = static_cast<std::uint64_t>(leaf * 11 + file + 1);
      // An ext4 volume's inode numbers run to millions.
      entries.push_back({folder + "/file" + std::to_string(file) + ".txt", false, written,
                         file % 10 == 0 ? std::nullopt : std::optional(written),
                         0x0123456789abcdefu * number, 3000000 + number});
    }
  }
  return RunRecord("machine\n/home/kim/work", false, std::move(entries), {0x803, 0});
}

TEST(RunRecord, ReadsBackAsWrittenAndFindsEntriesByEitherSeparator) {
  const RunRecord record("m\nC:\\Work", true,
                         {{"p\\b.txt", false, version(-5, 7), version(1700000001, 8, 999999999),
                           0xfedcba9876543210u, 12345, 99},
                          {"p", true, FileVersion{}, std::nullopt},
                          {"p/a.txt", false, std::nullopt, version(1700000000, 0)}},
                         {0x51000000, 0});
  const auto read = decode_record(encode_record(record));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->key(), record.key());
  EXPECT_TRUE(read->ignores_case());
  EXPECT_EQ(read->entries(), record.entries());
  ASSERT_TRUE(read->find("P\\B.TXT"));  // the pair compares names without case
  EXPECT_EQ(read->find("p/b.txt")->drive_side, version(1700000001, 8, 999999999));
  // Identities only of a side whose volume the record names.
  EXPECT_EQ(read->volumes(), (RecordVolumes{0x51000000, 0}));
  EXPECT_EQ(read->find("p/b.txt")->folder_identity, 12345u);
  EXPECT_EQ(read->find("p/b.txt")->drive_identity, 0u);
  EXPECT_FALSE(read->find("p/c.txt"));
  // One format for both programs: these bytes, and this pair's name, on each.
  const std::string bytes = encode_record(record);
  EXPECT_EQ(bytes.size(), 99u);
  EXPECT_EQ(crc32(std::string_view(bytes).substr(0, bytes.size() - 4)), 0xbeeb75fbu);
  EXPECT_EQ(crc32("123456789"), 0xcbf43926u);  // the checksum's own check value
  // A record of a version before identities (its head without the two
  // volumes) reads as one without them.
  std::string older = encode_record(RunRecord("m", false, {{"p/a.txt", false, version(1, 2), {}}}));
  older.resize(older.size() - 4);
  const std::size_t head = std::string_view("TAVRELON RUN RECORD\n").size();
  older[head] = 2;
  older.erase(head + 4, 2);  // after the version, the flags and the key
  put_word(older, crc32(older));
  EXPECT_TRUE(decode_record(older));
  EXPECT_EQ(pair_key("3544102a-94da-4748-865a-dbb0c99530da", "C:\\Work").id, "b3f439fca5aa70a4");
}

TEST(RunRecord, WhatDoesNotReadWholeCountsAsNone) {
  const std::string bytes = encode_record(pair_record(2, 3));
  std::string flipped = bytes, newer = bytes;
  flipped[bytes.size() / 2] ^= 0x20;
  // Another version, its checksum right.
  newer.resize(newer.size() - 4);
  newer[std::string_view("TAVRELON RUN RECORD\n").size()] = 4;
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

StatePath path(std::string_view text) { return *StatePath::parse(text); }

TEST(Journal, ReadsBackAsWrittenAndPassesOverALineCutOff) {
  Journal journal;
  journal.pair_id = "0123456789abcdef";
  journal.to_drive = false;
  journal.began = 1700000000;
  journal.record_kept = true;
  journal.entries = {{Action::FolderMade, path("p/新しい"), {}, {}},
                     {Action::FileReplaced, path("p/b%c.txt"), version(1700000000, 5, 1), ".~tavrelon-1-2.tmp"},
                     {Action::FileKept, path("p/old.txt"), {}, {}},
                     {Action::FileOverwritten, path("p/full.bin"), version(1700000000, 9, 0), ""},
                     {Action::Renamed, path("p/docs"), {}, "~tavrelon-rename-7-1", path("p/Docs")},
                     {Action::Moved, path("p/ab"), {}, "", path("p/a")}};
  EXPECT_EQ(entry_line(journal.entries.back()), "moved\tp/ab\tp/a\n");
  std::string text = head_line(journal) + record_kept_line();
  for (const auto& entry : journal.entries) text += entry_line(entry);
  const auto read = parse_journal(text + undone_line() + "file-kept\tp/half");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->pair_id, journal.pair_id);
  EXPECT_FALSE(read->to_drive);
  EXPECT_EQ(read->began, journal.began);
  EXPECT_TRUE(read->record_kept);
  EXPECT_EQ(read->entries, journal.entries);
  EXPECT_TRUE(read->undone);
  EXPECT_FALSE(parse_journal("not a journal\n"));
}

// A journal is a stranger's input: any line that names no path beneath the
// root, holds a number out of range or an action no run takes (a folder
// moved into itself, a first name that reaches the state folder by another
// spelling), makes the whole journal unreadable.
TEST(Journal, RefusesWhatNamesNoPathBeneathTheRoot) {
  const std::string head = "TAVRELON JOURNAL 1\t0123456789abcdef\tto-drive\n";
  const std::string too_long = "file-kept\t" + std::string(300, 'a') + "\n";
  for (const std::string line :
       {"file-kept\t../outside/x\n", "folder-made\tp/../../x\n", "file-kept\t/etc/passwd\n",
        "file-kept\tp//x\n", "file-kept\tp/./x\n", "file-kept\tp/a%00b\n", "file-kept\tp/a%0Ab\n",
        "file-kept\t\n", too_long.c_str(), "file-placed\tp/a\t1\t-9223372036854775808\t0\t\n",
        "file-placed\tp/a\t1\t0\t1000000000\t\n", "file-placed\tp/a\t1\t0\t0\t../x.tmp\n",
        "file-placed\tp/a\t1\t0\t0\tnotes.txt\n", "record-kept\tp\n", "folder-made\tp\textra\n",
        "renamed\tp/a\tq/A\t~tavrelon-rename-1-1\n", "renamed\tp/a\tp/A\tnotes.txt\n",
        "renamed\tp/a\tp/A\n", "renamed\tp/a.txt\tp/secret.txt\t~tavrelon-rename-1-1\n",
        "moved\tp/a\tp/a\n", "moved\tp/a/b\tp/a\n", "moved\tp/a\tp/a/b\n", "moved\tp/a\t../b\n",
        "moved\tp/a\n", "moved\tTAVREL~1\ty\n", "moved\ty\tta3f0b~12/kept\n",
        "file-kept\t.tavrelon. /x\n"}) {
    EXPECT_FALSE(parse_journal(head + "file-kept\tp/ok.txt\n" + line)) << line;
  }
  EXPECT_TRUE(parse_journal(head + "file-kept\tp/ok.txt\n" + "moved\tp/TAVREL~1\tTAVREL~X\n"));
  for (const std::string bad_head :
       {"TAVRELON JOURNAL 1\t../../x\tto-drive\n", "TAVRELON JOURNAL 1\t0123456789abcdef\tto-drive\tbegan\t-1e9\n",
        "TAVRELON JOURNAL 1\t0123456789abcdef\tto-drive\tundo-of\t../../x\n"}) {
    EXPECT_FALSE(parse_journal(bad_head)) << bad_head;
  }
}

TEST(StateFolder, NamesRunsByTimeAndPair) {
  const PairKey pair = pair_key("machine", "/home/kim/work", "raw id");
  EXPECT_EQ(pair.id.size(), 16u);
  EXPECT_NE(pair_key("other machine", "/home/kim/work").id, pair.id);
  EXPECT_TRUE(pair.owns(pair_key("raw id", "/home/kim/work").id));
  const std::string name = run_name(1700000000, pair.id);
  EXPECT_EQ(parse_run_name(name)->pair_id, pair.id);
  EXPECT_FALSE(parse_run_name(name)->undo);
  EXPECT_TRUE(parse_run_name(run_name(1700000000, pair.id, true, 2))->undo);
  EXPECT_LT(run_name(1700000000, pair.id), run_name(1700000001, pair.id));
  for (const std::string& bad : {std::string("notes"), name + "x", name + "-undoX", "../" + name}) {
    EXPECT_FALSE(parse_run_name(bad)) << bad;
  }
  EXPECT_TRUE(is_state_folder_name(".TavRelon"));
  EXPECT_FALSE(is_state_folder_name("tavrelon"));
}

}  // namespace
}  // namespace tav::state
