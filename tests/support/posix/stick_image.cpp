#include "support/stick_image.h"

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

namespace tav::test {

namespace {

constexpr std::string_view kFiller = "/filler.bin";

// Runs a shell command: its output's first line, or none when it failed.
std::optional<std::string> output_of(const std::string& command) {
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string line;
  for (int c; (c = std::fgetc(pipe)) != EOF && c != '\n';) line += static_cast<char>(c);
  while (std::fgetc(pipe) != EOF) {
  }
  return ::pclose(pipe) == 0 ? std::optional(line) : std::nullopt;
}

}  // namespace

StickImage::StickImage(std::string folder, std::uint64_t size) : folder_(std::move(folder)) {
  while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
  if (::geteuid() != 0) {
    why_not_ = "mounting an image needs root";
    return;
  }
  image_ = folder_ + ".img";
  std::ofstream(image_).close();
  std::filesystem::resize_file(image_, size);
  if (!output_of("mkfs.exfat '" + image_ + "'")) {
    why_not_ = "mkfs.exfat (exfatprogs) could not make an exFAT image";
    return;
  }
  const auto device = output_of("losetup -f --show '" + image_ + "'");
  if (!device || device->empty()) {
    why_not_ = "no loop device for the image";
    return;
  }
  device_ = *device;
  if (!output_of("mount.exfat-fuse '" + device_ + "' '" + folder_ + "'")) {
    why_not_ = "exfat-fuse could not mount the image";
  }
}

StickImage::~StickImage() {
  if (why_not_.empty()) ::umount2(folder_.c_str(), MNT_DETACH);
  if (!device_.empty()) output_of("losetup -d '" + device_ + "'");
  if (!image_.empty()) std::filesystem::remove(image_);
}

std::uint64_t StickImage::free_bytes() const {
  struct statvfs space {};
  if (::statvfs(folder_.c_str(), &space) != 0) return 0;
  return std::uint64_t{space.f_bavail} * space.f_frsize;
}

void StickImage::leave_free(std::uint64_t bytes) {
  const std::string filler = folder_ + std::string(kFiller);
  std::filesystem::remove(filler);
  const std::uint64_t free = free_bytes();
  if (free <= bytes) return;
  std::ofstream out(filler, std::ios::binary);
  const std::string block(1 << 16, 'f');
  for (std::uint64_t left = free - bytes; left > 0;) {
    const std::uint64_t now = std::min<std::uint64_t>(left, block.size());
    out.write(block.data(), static_cast<std::streamsize>(now));
    left -= now;
  }
}

}  // namespace tav::test
