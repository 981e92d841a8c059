// The check of a placed copy: its file read back from the medium, past the
// system's cache, and hashed again, against the hash the copy took of its
// source while it copied. What the medium does is a verdict, never a
// run-time error: a medium that will not give the file back has failed the
// check as one that gives back other bytes has.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "files/content_hash.h"

namespace tav {

enum class ReadBack {
  Match,       // the medium gave back the bytes that were written
  Differs,     // it gave back other bytes (lost, zeros, flipped, cut short)
  Unreadable,  // the file would not open or a read of it failed
  Stopped,     // progress said to stop before the file was read whole
};

// Called after each chunk read with the bytes of the file read so far;
// answers whether to go on.
using ReadBackProgress = std::function<bool(std::uint64_t read)>;

// Reads files back one after another through one buffer of its own.
class ReadBackCheck {
 public:
  ReadBackCheck();
  ~ReadBackCheck();
  ReadBackCheck(const ReadBackCheck&) = delete;
  ReadBackCheck& operator=(const ReadBackCheck&) = delete;

  // Reads the file at path from its medium and compares its hash with
  // written. Raises nothing for what the system answers.
  ReadBack check(std::string_view path, ContentHash written,
                 const ReadBackProgress& progress = {});
  // The hash of the file's bytes as its medium gives them back; none when
  // it cannot be read whole.
  std::optional<ContentHash> hash(std::string_view path);

 private:
  // Match when the file was read whole, its hash in hash.
  ReadBack read_whole(std::string_view path, ContentHash& hash, const ReadBackProgress& progress);

  struct AlignedFree {
    void operator()(char* buffer) const;
  };
  std::unique_ptr<char, AlignedFree> buffer_;
};

}  // namespace tav
