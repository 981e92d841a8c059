// What each kind of destination refuses, by the file system's name as the
// systems give it, and the withdrawals that follow from it in the tables.
#include "worklist/destination_rules.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/temp_tree.h"
#include "worklist/destination_check.h"

namespace tav {
namespace {

std::string repeated(std::string_view text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

struct NameCase {
  std::string_view file_system;
  std::string name;
  std::optional<Refusal> expected;
};

TEST(DestinationRules, NamesEachFileSystemRefuses) {
  const std::optional<Refusal> fine;
  const NameCase cases[] = {
      {"exfat", "colon:name.txt", Refusal::Characters},
      {"vfat", "back\\slash", Refusal::Characters},
      {"FAT32", "a*b?c", Refusal::Characters},
      {"exFAT", "\"quoted\" <x> | y", Refusal::Characters},
      {"NTFS", "tab\there", Refusal::Characters},
      {"ntfs3", "ends in a dot.", Refusal::Characters},
      {"msdos", "ends in a blank ", Refusal::Characters},
      {"exfat", "not utf-8 \xFF\xFE.txt", Refusal::Characters},
      {"exfat", "surrogate \xED\xA0\x80", Refusal::Characters},
      {"exfat", "CON", Refusal::ReservedName},
      {"exfat", "con.txt", Refusal::ReservedName},
      {"FAT", "Lpt9.log", Refusal::ReservedName},
      {"vfat", "aux .c", Refusal::ReservedName},
      {"NTFS", "COM1.tar.gz", Refusal::ReservedName},
      {"exfat", "CONSOLE.txt", fine},
      {"exfat", "COM0", fine},
      {"exfat", "LPT10", fine},
      {"exfat", "ソフト　表.txt", fine},
      {"exfat", repeated("あ", 255), fine},  // 255 UTF-16 units, 765 bytes
      {"exfat", repeated("あ", 256), Refusal::LongName},
      {"exfat", repeated("𠮷", 128), Refusal::LongName},  // 256 units in pairs
      {"ext4", "colon:name. ", fine},
      {"tmpfs", "CON", fine},
      {"ext4", repeated("a", 255), fine},
      {"ext4", repeated("a", 256), Refusal::LongName},
      {"btrfs", repeated("あ", 86), Refusal::LongName},  // 258 bytes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(name_refusal(c.name, rules_for(c.file_system, false, false)), c.expected)
        << c.file_system << ": " << c.name;
  }
  // A system that refuses Windows' names everywhere refuses them on any volume.
  EXPECT_EQ(name_refusal("a:b", rules_for("ext4", true, false)), Refusal::Characters);
  EXPECT_EQ(name_refusal("a:b", rules_for("", true, false)), Refusal::Characters);
}

TEST(DestinationRules, FilesOf4GiBOnlyOntoFatAndCaseByFileSystemOrByWhatWasSeen) {
  constexpr std::uint64_t k4GiB = std::uint64_t{4} << 30;
  for (const std::string_view fat : {"FAT32", "vfat", "FAT"}) {
    EXPECT_EQ(size_refusal(k4GiB, rules_for(fat, false, false)), Refusal::BigFile) << fat;
    EXPECT_EQ(size_refusal(k4GiB - 1, rules_for(fat, false, false)), std::nullopt) << fat;
  }
  EXPECT_EQ(size_refusal(k4GiB * 2, rules_for("exFAT", true, false)), std::nullopt);
  EXPECT_EQ(size_refusal(k4GiB * 2, rules_for("NTFS", true, false)), std::nullopt);
  EXPECT_TRUE(rules_for("exfat", false, false).ignores_case);
  EXPECT_TRUE(rules_for("vfat", false, false).ignores_case);
  EXPECT_FALSE(rules_for("ext4", false, false).ignores_case);
  EXPECT_TRUE(rules_for("ext4", false, true).ignores_case);
}

// Onto FAT32 from the folder: a folder to create with a bad name goes with
// everything below it; of two spellings of one name (by case or by Unicode
// form) the later one goes; a rename to a spelling too long goes with the
// update at its path.
TEST(DestinationCheck, WithdrawsAsADoubleClickWould) {
  using test::native_rel;
  const auto native = native_rel;
  Roots roots;
  roots.folder_root = native("/folder/");
  roots.drive_root = native("/drive/");
  const FileVersion small{{}, 10};
  const FileVersion huge{{}, std::uint64_t{5} << 30};
  WorkTables tables;
  for (const char* folder : {"p/bad:dir", "p/bad:dir/sub", "p/Docs", "p/docs", "p/x"}) {
    tables.new_folders.append(roots.drive_root + native(folder));
  }
  // 128 decomposed "が" are 256 UTF-16 units; composed they are 128.
  std::string decomposed;
  for (int i = 0; i < 128; ++i) decomposed += "\u304B\u3099";
  const std::string too_long = "p/" + decomposed;
  tables.renames.append({native(too_long), std::string(128, 'x'), false});
  for (const std::string file : {"p/bad:dir/a", "p/bad:dir/sub/b", "p/docs/c", "p/ok", "p/X", "p/big",
                                 "p/\u304B\u3099", "p/\u304C", too_long.c_str()}) {
    tables.copies.append({native(file), "2024/05/01", "", file == "p/big" ? huge : small, {}});
  }
  const auto refused = withdraw_refused_entries(tables, roots, rules_for("FAT32", false, false));
  std::vector<std::pair<std::string, Refusal>> got;
  for (const auto& entry : refused) got.emplace_back(entry.path, entry.why);
  EXPECT_EQ(got, (std::vector<std::pair<std::string, Refusal>>{
                     {native("p/X"), Refusal::CaseTwin},  // a folder of that name comes first
                     {native("p/bad:dir"), Refusal::Characters},
                     {native("p/big"), Refusal::BigFile},
                     {native("p/docs"), Refusal::CaseTwin},
                     {native(too_long), Refusal::LongName},
                     {native("p/\u304C"), Refusal::CaseTwin}}));
  std::vector<std::string> kept;
  for (const auto& [slot, folder] : tables.new_folders.listed()) kept.push_back(folder);
  for (const auto& [slot, copy] : tables.copies.listed()) kept.push_back(copy.path);
  EXPECT_EQ(kept, (std::vector<std::string>{roots.drive_root + native("p/Docs"),
                                            roots.drive_root + native("p/x"), native("p/ok"),
                                            native("p/\u304B\u3099")}));
}

}  // namespace
}  // namespace tav
