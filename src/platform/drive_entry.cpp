#include "platform/drive_entry.h"

#include <array>

namespace tav {

namespace {

// By type value: unknown, no root directory, removable, fixed, remote,
// CD-ROM, RAM disk.
constexpr std::array<std::string_view, 7> kTypeTexts{
    "不明",
    "ルートディレクトリがない",
    "USB・FD等交換可能ディスク",
    "固定ディスク",
    "リモートあるいはネットワークドライブ",
    "CD-ROMドライブ",
    "RAMディスク",
};

}  // namespace

std::string_view drive_type_text(int type) {
  if (type < 0 || type >= static_cast<int>(kTypeTexts.size())) return {};
  return kTypeTexts[static_cast<std::size_t>(type)];
}

}  // namespace tav
