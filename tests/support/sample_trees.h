// The pair of trees the whole-run tests synchronise: the source side gets
// newer and extra files, the destination side older and extra ones; the
// first-level folders on one side only and the files in either root must
// never be touched.
#pragma once

#include "support/temp_tree.h"

namespace tav::test {

inline constexpr LocalTime kOld{2024, 5, 1, 10, 0, 0};
inline constexpr LocalTime kNew{2024, 5, 1, 10, 0, 4};  // newer by more than the margin

inline void make_sample_trees(TempTree& source, TempTree& destination) {
  source.file("top.txt", "source root file", kNew)
      .file("proj/a.txt", "new a", kNew)
      .file("proj/same.txt", "same", kOld)
      .file("proj/new.txt", "created", kNew)
      .file("proj/sub/n.txt", "in new folder", kNew)
      .file("only_source/f.txt", "never copied", kNew);
  destination.file("top.txt", "destination root file", kOld)
      .file("proj/a.txt", "old a", kOld)
      .file("proj/same.txt", "same", kOld)
      .file("proj/old.txt", "to delete", kOld)
      .file("proj/gone/x.txt", "to delete", kOld)
      .file("only_destination/g.txt", "never deleted", kOld);
}

}  // namespace tav::test
