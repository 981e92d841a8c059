#include "support/lying_volume.h"

namespace tav::test {

LyingVolume::LyingVolume(TempTree& tree, const Lie&)
    : root_(tree.path("lying")),
      why_not_("Wine has no file system that lies (no FUSE): the check runs against "
               "ordinary folders there") {}

LyingVolume::~LyingVolume() = default;

std::string LyingVolume::path(std::string_view rel) const {
  return root_ + "\\" + native_rel(rel);
}

}  // namespace tav::test
