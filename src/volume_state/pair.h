// A pair: this computer's folder with a drive, and the direction of one run
// between them. The two roots are taken once, at the first press of a
// direction button; everything that differs by direction asks the pair which
// side is which rather than choosing for itself.
#pragma once

#include <string>
#include <string_view>

namespace tav {

enum class Direction {
  FolderToDrive = 0,  // "→": the folder is the source, the drive the destination
  DriveToFolder = 1,  // "←": the drive is the source, the folder the destination
};

// Of two things, one for each side (the folder's first), the one of the
// run's source or of its destination.
template <typename T>
const T& source_side(Direction direction, const T& folder_side, const T& drive_side) {
  return direction == Direction::FolderToDrive ? folder_side : drive_side;
}
template <typename T>
T& destination_side(Direction direction, T& folder_side, T& drive_side) {
  return direction == Direction::FolderToDrive ? drive_side : folder_side;
}

struct Roots {
  Direction direction = Direction::FolderToDrive;
  std::string folder_path;  // EDIT1 without blanks at either end
  std::string folder_root;  // folder_path and the separator
  std::string drive_entry;  // COMBO1's text, untrimmed
  std::string drive_root;   // the drive's root, ending in the separator

  bool to_drive() const { return direction == Direction::FolderToDrive; }

  // Of two things, one for each side (the folder's first), the source's or
  // the destination's.
  template <typename T>
  const T& source(const T& folder_side, const T& drive_side) const {
    return source_side(direction, folder_side, drive_side);
  }
  template <typename T>
  const T& destination(const T& folder_side, const T& drive_side) const {
    return destination_side(direction, folder_side, drive_side);
  }
  template <typename T>
  T& destination(T& folder_side, T& drive_side) const {
    return destination_side(direction, folder_side, drive_side);
  }

  const std::string& source_root() const { return source(folder_root, drive_root); }
  const std::string& destination_root() const { return destination(folder_root, drive_root); }
};

}  // namespace tav

namespace tav::state {

// Whom the state on a drive belongs to. The same folder path on another
// computer is another pair.
struct PairKey {
  std::string text;  // the machine's key, a line break, the folder path
  std::string id;    // a hash of the text: 16 hex digits
  // The same of the key older programs gave the pair, which held the
  // machine's own identity: their state is still found, never written so.
  std::string earlier_text, earlier_id;

  bool owns(std::string_view pair_id) const { return pair_id == id || pair_id == earlier_id; }
};
// machine_key: one-way, the program's own (app_machine_id); earlier: the
// machine's identity that older programs used, when it is known.
PairKey pair_key(std::string_view machine_key, std::string_view folder_path,
                 std::string_view earlier = {});

}  // namespace tav::state
