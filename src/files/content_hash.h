// The hash of a file's content that a copy takes while it copies and the
// check of the copy takes again from what the medium gives back: XXH3 with
// 64 bits and no seed, the same on every system, so a hash kept on a volume
// can be checked by either program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace tav {

using ContentHash = std::uint64_t;

// Takes the hash of bytes handed over in pieces, as they pass.
class ContentHasher {
 public:
  ContentHasher();
  ~ContentHasher();
  ContentHasher(ContentHasher&&) noexcept;
  ContentHasher& operator=(ContentHasher&&) noexcept;

  void update(const char* data, std::size_t size);
  void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }
  // The hash of every byte handed over so far; more may follow.
  ContentHash digest() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The hash of bytes held whole.
ContentHash content_hash(std::string_view bytes);

}  // namespace tav
