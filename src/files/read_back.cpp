#include "files/read_back.h"

#include <new>

#include "files/temporary_file.h"
#include "platform/medium_reading.h"

namespace tav {

namespace {

// Large enough that a stick reads at its pace, small enough that a stop is
// heard within a moment on the slowest; a whole number of sectors.
constexpr std::size_t kReadChunk = 1 << 20;
static_assert(kReadChunk % sys::kMediumAlignment == 0);

constexpr std::align_val_t kAlignment{sys::kMediumAlignment};

}  // namespace

void ReadBackCheck::AlignedFree::operator()(char* buffer) const {
  ::operator delete(buffer, kAlignment);
}

ReadBackCheck::ReadBackCheck()
    : buffer_(static_cast<char*>(::operator new(kReadChunk, kAlignment))) {}

ReadBackCheck::~ReadBackCheck() = default;

ReadBack ReadBackCheck::check(std::string_view path, ContentHash written,
                              const ReadBackProgress& progress) {
  ContentHash read = 0;
  const ReadBack whole = read_whole(path, read, progress);
  if (whole != ReadBack::Match) return whole;
  return read == written ? ReadBack::Match : ReadBack::Differs;
}

std::optional<ContentHash> ReadBackCheck::hash(std::string_view path) {
  ContentHash read = 0;
  if (read_whole(path, read, {}) != ReadBack::Match) return std::nullopt;
  return read;
}

ReadBack ReadBackCheck::read_whole(std::string_view path, ContentHash& hash,
                                   const ReadBackProgress& progress) {
  const sys::OpenFile file(sys::open_from_medium(path));
  if (!file.is_open()) return ReadBack::Unreadable;
  ContentHasher hasher;
  std::uint64_t read = 0;
  while (const std::ptrdiff_t got = sys::read_from_medium(file.get(), buffer_.get(), kReadChunk)) {
    if (got < 0) return ReadBack::Unreadable;
    hasher.update(buffer_.get(), static_cast<std::size_t>(got));
    read += static_cast<std::uint64_t>(got);
    if (progress && !progress(read)) return ReadBack::Stopped;
  }
  hash = hasher.digest();
  return ReadBack::Match;
}

}  // namespace tav
