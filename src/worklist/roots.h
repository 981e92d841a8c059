// The two sides of a synchronisation, taken once at the first press of a
// direction button.
#pragma once

#include <string>

namespace tav {

enum class Direction {
  FolderToDrive = 0,  // "→": the folder is the source, the drive the destination
  DriveToFolder = 1,  // "←": the drive is the source, the folder the destination
};

struct Roots {
  Direction direction = Direction::FolderToDrive;
  std::string folder_path;  // EDIT1 without blanks at either end
  std::string folder_root;  // folder_path and the separator
  std::string drive_entry;  // COMBO1's text, untrimmed
  std::string drive_root;   // the drive's root, ending in the separator

  const std::string& source_root() const {
    return direction == Direction::FolderToDrive ? folder_root : drive_root;
  }
  const std::string& destination_root() const {
    return direction == Direction::FolderToDrive ? drive_root : folder_root;
  }
};

}  // namespace tav
