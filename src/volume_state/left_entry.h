// What a run or an undo left as it was, and why: named to the user in the
// one box at the end.
#pragma once

#include <string>

namespace tav {

enum class LeftReason {
  Changed,         // what stands at the path changed since the scan
  Missing,         // the source, or the file or folder to delete, is gone
  FolderGained,    // a folder to remove holds an entry the scan did not list
  HoldsLeft,       // a folder to remove holds an entry this run left
  FileInTheWay,    // a file stands where a folder is to be made and is not deleted
  FolderInTheWay,  // a folder stands where a file is to be copied and is not removed
  FolderNotMade,   // it lies below a folder that was not made
  ChangedSinceRun, // an undo's entry that changed after the run it undoes
  NotKept,         // a file replaced without keeping the one it replaced, for want of room
  NotConfirmed,    // a copy the medium did not give back as it was written
};

struct LeftEntry {
  std::string path;
  LeftReason why;
  bool operator==(const LeftEntry&) const = default;
};

}  // namespace tav
