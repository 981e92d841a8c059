// Copies made in batches, so that a medium pulled at any moment holds
// either the old file or the whole new one, without flushing each file on
// its own. Each copy is written under a temporary name beside its
// destination, keeping the source's last-write time (and on Windows its
// attributes); a batch is flushed to its media as a whole, then each copy is
// renamed over its destination, but only while the destination still is
// what the copy may replace. However a batch ends (placed, an error, the end
// of its owner), its finished copies are flushed and placed first, and no
// temporary file of it is left behind.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_reading.h"

namespace tav {

// Called between the chunks of a copy with the bytes copied so far.
using CopyProgress = std::function<void(std::uint64_t copied)>;

// What a copy may replace when it is put in place.
struct Replaces {
  enum class Kind { Anything, Nothing, Version } kind = Kind::Anything;
  FileVersion version;  // for Kind::Version

  static Replaces anything() { return {}; }
  static Replaces nothing() { return {Kind::Nothing, {}}; }
  static Replaces exactly(FileVersion version) { return {Kind::Version, version}; }
};

class CopyBatch {
 public:
  struct Limits {
    std::size_t files = 64;
    std::uint64_t bytes = std::uint64_t{64} << 20;
    std::chrono::milliseconds time{1000};  // since the batch's first copy began
  };

  explicit CopyBatch(Limits limits);
  CopyBatch() : CopyBatch(Limits{}) {}
  ~CopyBatch();
  CopyBatch(const CopyBatch&) = delete;
  CopyBatch& operator=(const CopyBatch&) = delete;

  // Writes a copy of source for destination; places the batch once it is
  // full. A refusal raises its run-time error, after the batch's finished
  // copies are placed.
  void add(std::string_view source, std::string_view destination, Replaces replaces,
           const CopyProgress& progress = {},
           std::source_location where = std::source_location::current());

  // Flushes and places every finished copy.
  void place(std::source_location where = std::source_location::current());

  // The destinations left as they were since the last call, because they no
  // longer were what their copy might replace.
  std::vector<std::string> take_left();

 private:
  struct Pending;

  void place_finished(std::source_location where, bool raise);

  Limits limits_;
  std::vector<Pending> pending_;
  std::uint64_t bytes_ = 0;
  std::chrono::steady_clock::time_point started_;
  std::vector<std::string> left_;
};

}  // namespace tav
