// What each folder and file of a walked tree stands against in the other
// tree: exact names, names in another Unicode form, names that differ in
// case where a volume ignores it (and its look-up agrees), the source's
// spelling written for both, groups of one name left out, and folders that
// are files or links on the other side.
#include "scan/tree_pairing.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::TempTree;

std::string with_slashes(std::string path) {
  for (char& c : path) c = c == kPathSeparator ? '/' : c;
  return path;
}

// One side as its reading holds it: "name/" is a folder, "name@" a link to
// a folder, anything else a file; a folder comes before its entries. The
// look-ups that confirm a name go to the real tree, which holds only what
// on_disk names (a trailing "/" for a folder). Unread, the reading holds no
// folder at all.
struct Side {
  std::vector<std::string> entries;
  bool ignores_case = false;
  std::vector<std::string> on_disk;
  bool unread = false;
};

TreeSnapshot snapshot_of(const TempTree& tree, const Side& side) {
  TreeSnapshot snapshot;
  snapshot.ignores_case = side.ignores_case;
  if (side.unread) return snapshot;
  snapshot.folders.push_back({tree.root(), 0, 0, 1, true, {}});
  std::map<std::string, std::size_t> folder_at{{"", 0}};
  for (std::string rel : side.entries) {
    ListedEntry entry;
    entry.link = rel.back() == '@';
    entry.folder = entry.link || rel.back() == '/';
    if (entry.folder) rel.pop_back();
    const auto cut = rel.rfind('/');
    const std::size_t parent = folder_at.at(cut == std::string::npos ? "" : rel.substr(0, cut));
    entry.name = rel.substr(cut + 1);
    std::vector<ListedEntry>& siblings = snapshot.folders[parent].entries;
    siblings.push_back(entry);
    if (!entry.folder || entry.link) continue;
    folder_at[rel] = snapshot.folders.size();
    snapshot.folders.push_back({tree.path(rel), parent, siblings.size() - 1,
                                snapshot.folders[parent].level + 1, true, {}});
  }
  return snapshot;
}

// The pairing, line by line in the walked tree's order: each folder as
// "path/" (its relative path), with " alone" where the other tree holds no
// folder there and " takes no part" where it does not; then each entry
// of a folder that takes part as "path = the other's name", "-" for none,
// or "path left out" (", named" for the entry that names its group).
std::vector<std::string> describe(const TreeSnapshot& walked, TreePairing& pairing) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < walked.folders.size(); ++i) {
    std::string prefix;
    if (i > 0) {
      const std::string path = with_slashes(pairing.relative_path(i)) + "/";
      if (!pairing.takes_part(i)) {
        lines.push_back(path + " takes no part");
        continue;
      }
      lines.push_back(path + (pairing.has_folder_counterpart(i) ? "" : " alone"));
      prefix = path;
    }
    const FolderPairing& entries = pairing.entries_of(i);
    for (std::size_t e = 0; e < walked.folders[i].entries.size(); ++e) {
      const ListedEntry* there = entries.counterpart(e);
      if (entries.left_out(e)) {
        lines.push_back(prefix + entries.spelling(e) + " left out" +
                        (entries.names_group(e) ? ", named" : ""));
      } else {
        lines.push_back(prefix + entries.spelling(e) + " = " + (there ? there->name : "-"));
      }
    }
  }
  return lines;
}

struct Case {
  const char* what;
  Side walked, other;
  std::vector<std::string> pairing;
  bool walked_is_source = true;
};

// "が" composed and decomposed (か and the combining voiced mark), as Linux
// and a Mac write it.
#define GA "\u304C"
#define GA_D "\u304B\u3099"

TEST(TreePairing, PairsEachEntryWithWhatStandsThereInTheOtherTree) {
  const Case cases[] = {
      {"case counts; a folder meets a file, a link, or nothing",
       {.entries = {"a/", "a/x", "a/Y", "file/", "link/", "link/deeper/", "new/", "new/x", "Z"},
        .on_disk = {"a/y", "z"}},
       {.entries = {"a/", "a/x", "a/y", "file", "link@", "z"}, .on_disk = {"a/Y", "Z"}},
       {"a = a", "file = file", "link = link", "new = -", "Z = -",
        "a/", "a/x = x", "a/Y = -", "file/ alone",
"link/ takes no part", "link/deeper/ takes no part", "new/ alone", "new/x = -"}},
      {"the other tree ignores case: its look-up decides, the walked names are written",
       {.entries = {"Docs/", "Docs/Readme.TXT", "x"}},
       {.entries = {"docs/", "docs/readme.txt", "X"},
        .ignores_case = true,
        .on_disk = {"Docs/", "docs/Readme.TXT"}},
       {"Docs = docs", "x = -", "Docs/", "Docs/Readme.TXT = readme.txt"}},
      {"the walked tree ignores case and is the destination: the source's names are written, "
       "below too; two of one name on the other side leave their group out",
       {.entries = {"a", "Docs/", "Docs/Old/", "Docs/Old/f", "Docs/g"},
        .ignores_case = true,
        .on_disk = {"docs/", "Docs/old/"}},
       {.entries = {"A", "a", "docs/", "docs/old/", "docs/old/f", "docs/G"}},
       {"a left out", "docs = docs", "docs/", "docs/old = old", "docs/g = -",
        "docs/old/", "docs/old/f = f"},
       false},
      {"names in another Unicode form are one name on any volume: the source's spelling is "
       "written where a file meets a file or a folder a folder",
       {.entries = {GA_D "/", GA_D "/" GA_D ".txt", "k" GA_D}},
       {.entries = {GA "/", GA "/" GA ".txt", "k" GA "/"}},
       {GA " = " GA, "k" GA_D " = k" GA, GA "/", GA "/" GA ".txt = " GA ".txt"},
       false},
      {"two of one name on the source leave their group out, the first in byte order naming it: "
       "by form anywhere, by case where a volume ignores it, folders with what is below",
       {.entries = {GA, GA_D, "R", "r", "b/", "b/x", "d/", "d/x", "D/"}},
       {.entries = {GA, "r", "b/", "b/x", "d/", "d/x"}, .ignores_case = true},
       {GA " left out", GA_D " left out, named", "R left out, named", "r left out", "b = b",
        "d left out", "D left out, named", "b/", "b/x = x", "d/ takes no part",
        "D/ takes no part"}},
      {"on the destination, a group is named only where the source holds none of it",
       {.entries = {GA, "q" GA, "q" GA_D}},
       {.entries = {GA, GA_D}},
       {GA " left out", "q" GA " left out", "q" GA_D " left out, named"},
       false},
      {"the other tree could not be read",
       {.entries = {"a/", "a/x"}},
       {.unread = true},
       {"a = -", "a/ alone", "a/x = -"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempTree walked_tree, other_tree;
    for (const auto& [side, tree] :
         {std::pair{&c.walked, &walked_tree}, std::pair{&c.other, &other_tree}}) {
      for (const std::string& rel : side->on_disk) {
        if (rel.back() == '/') {
          tree->folder(rel);
        } else {
          tree->file(rel);
        }
      }
    }
    const TreeSnapshot walked = snapshot_of(walked_tree, c.walked);
    const TreeSnapshot other = snapshot_of(other_tree, c.other);
    TreePairing pairing(walked, other, c.walked_is_source);
    EXPECT_EQ(describe(walked, pairing), c.pairing);
  }
}

TEST(TreePairing, AFoldersTopIsItsFirstLevelFolder) {
  TempTree tree;
  const TreeSnapshot walked = snapshot_of(tree, {.entries = {"a/", "a/b/", "a/b/c/", "d/"}});
  const TreeSnapshot other;
  const TreePairing pairing(walked, other, true);
  const std::size_t tops[] = {0, 1, 1, 1, 4};  // by folder: root, a, a/b, a/b/c, d
  for (std::size_t folder = 1; folder < walked.folders.size(); ++folder) {
    EXPECT_EQ(pairing.top_of(folder), tops[folder]) << walked.folders[folder].path;
  }
}

}  // namespace
}  // namespace tav
