#include "files/content_hash.h"

#include <xxhash.h>

#include <new>

namespace tav {

// The library's own state, made and freed by the library with the
// alignment it needs.
struct ContentHasher::State {
  XXH3_state_t* xxh3;
  State() : xxh3(XXH3_createState()) {
    if (!xxh3) throw std::bad_alloc();
  }
  ~State() { XXH3_freeState(xxh3); }
  State(const State&) = delete;
  State& operator=(const State&) = delete;
};

ContentHasher::ContentHasher() : state_(std::make_unique<State>()) {
  XXH3_64bits_reset(state_->xxh3);
}

ContentHasher::~ContentHasher() = default;
ContentHasher::ContentHasher(ContentHasher&&) noexcept = default;
ContentHasher& ContentHasher::operator=(ContentHasher&&) noexcept = default;

void ContentHasher::update(const char* data, std::size_t size) {
  if (size > 0) XXH3_64bits_update(state_->xxh3, data, size);
}

ContentHash ContentHasher::digest() const { return XXH3_64bits_digest(state_->xxh3); }

ContentHash content_hash(std::string_view bytes) {
  return XXH3_64bits(bytes.data(), bytes.size());
}

}  // namespace tav
