// The boot sector's signatures as blkid reads them, and udev's record of the
// device for a user who may not read the device.
#include "platform/posix/device_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

namespace tav::posix {

namespace {

constexpr std::string_view kUdevRecords = "/run/udev/data/b";

std::uint64_t little_endian(std::string_view head, std::size_t at, std::size_t bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = bytes; i-- > 0;) {
    value = (value << 8) | static_cast<unsigned char>(head[at + i]);
  }
  return value;
}

bool holds(std::string_view head, std::size_t at, std::string_view text) {
  return head.size() >= at + text.size() && head.substr(at, text.size()) == text;
}

// "1234-ABCD", as FAT and exFAT serials are written.
std::string dashed_serial(std::uint64_t serial) {
  char text[10];
  std::snprintf(text, sizeof text, "%04X-%04X", static_cast<unsigned>(serial >> 16),
                static_cast<unsigned>(serial & 0xFFFF));
  return text;
}

std::string uuid_text(std::string_view bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(bytes[i]));
    text += hex;
  }
  return text;
}

// Where each file system keeps its mark and its serial.
struct BootSectorKind {
  std::string_view type;
  std::size_t mark_at;
  std::string_view mark;
  std::size_t serial_at;
  bool long_serial;  // 8 bytes rather than 4
};

// clang-format off
constexpr BootSectorKind kBootSectorKinds[] = {
  {"exfat",   3, "EXFAT   ", 100, false},
  {"ntfs",    3, "NTFS    ",  72, true},
  {"vfat",   82, "FAT32   ",  67, false},
  {"vfat",   54, "FAT16   ",  39, false},
  {"vfat",   54, "FAT12   ",  39, false},
  {"vfat",   54, "FAT     ",  39, false},
};
// clang-format on

constexpr std::size_t kExtMagicAt = 1080;
constexpr std::uint64_t kExtMagic = 0xEF53;
constexpr std::size_t kExtUuidAt = 1128;

DeviceFileSystem read_from_device(const std::string& device, bool& readable) {
  const int fd = ::open(device.c_str(), O_RDONLY | O_CLOEXEC);
  readable = fd >= 0;
  if (!readable) return {};
  std::string head(kVolumeHeadBytes, '\0');
  const ssize_t got = ::pread(fd, head.data(), head.size(), 0);
  ::close(fd);
  head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return file_system_in(head);
}

// udev's record of a block device: lines such as "E:ID_FS_TYPE=exfat".
DeviceFileSystem read_from_udev(const std::string& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0 || !S_ISBLK(info.st_mode)) return {};
  std::ifstream record(std::string(kUdevRecords) + std::to_string(major(info.st_rdev)) + ":" +
                       std::to_string(minor(info.st_rdev)));
  DeviceFileSystem found;
  for (std::string line; std::getline(record, line);) {
    if (line.starts_with("E:ID_FS_TYPE=")) found.type = line.substr(13);
    if (line.starts_with("E:ID_FS_UUID=")) found.serial = line.substr(13);
  }
  return found;
}

}  // namespace

DeviceFileSystem file_system_in(std::string_view head) {
  const bool boot_signature = head.size() >= 512 && little_endian(head, 510, 2) == 0xAA55;
  for (const auto& kind : kBootSectorKinds) {
    if (!holds(head, kind.mark_at, kind.mark)) continue;
    if (kind.type == "vfat" && !boot_signature) continue;
    if (kind.long_serial) {
      char serial[17];
      std::snprintf(serial, sizeof serial, "%016llX",
                    static_cast<unsigned long long>(little_endian(head, kind.serial_at, 8)));
      return {std::string(kind.type), serial};
    }
    return {std::string(kind.type), dashed_serial(little_endian(head, kind.serial_at, 4))};
  }
  if (head.size() >= kExtUuidAt + 16 && little_endian(head, kExtMagicAt, 2) == kExtMagic) {
    return {"", uuid_text(head.substr(kExtUuidAt, 16))};
  }
  return {};
}

DeviceFileSystem device_file_system(const std::string& device) {
  bool readable = false;
  const DeviceFileSystem read = read_from_device(device, readable);
  return readable ? read : read_from_udev(device);
}

}  // namespace tav::posix
