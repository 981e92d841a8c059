#include "support/stick_image.h"

namespace tav::test {

// A Windows program cannot mount an image of its own.
StickImage::StickImage(std::string folder, std::uint64_t)
    : folder_(std::move(folder)), why_not_("Wine cannot mount an exFAT image of the test's own") {}

StickImage::~StickImage() = default;

void StickImage::leave_free(std::uint64_t) {}

std::uint64_t StickImage::free_bytes() const { return 0; }

}  // namespace tav::test
