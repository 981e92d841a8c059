#include "support/other_volume.h"

namespace tav::test {

// A Windows program cannot mount; the end-to-end scenarios point a drive
// letter at another folder instead.
bool OtherVolume::possible() { return false; }

OtherVolume::OtherVolume(std::string folder) : folder_(std::move(folder)) {}

OtherVolume::~OtherVolume() = default;

}  // namespace tav::test
