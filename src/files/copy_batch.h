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
#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/content_hash.h"
#include "platform/folder_reading.h"
#include "platform/steady_clock.h"
#include "platform/system_files.h"

namespace tav {

// Called between the chunks of a copy with the bytes copied so far; answers
// whether to go on.
using CopyProgress = std::function<bool(std::uint64_t copied)>;

// What a copy may replace when it is put in place.
struct Replaces {
  enum class Kind { Anything, Nothing, Version } kind = Kind::Anything;
  FileVersion version;  // for Kind::Version
  std::string keep_as;  // for Kind::Version: where the file it replaces is kept; none if empty

  static Replaces anything() { return {}; }
  static Replaces nothing() { return {Kind::Nothing, {}, {}}; }
  static Replaces exactly(FileVersion version, std::string keep_as = {}) {
    return {Kind::Version, version, std::move(keep_as)};
  }
};

class CopyBatch {
 public:
  // When a batch is full: so many files, so many bytes, or so long since
  // its first copy began.
  struct Limits {
    std::size_t files;
    std::uint64_t bytes;
    std::chrono::milliseconds time;
  };

  enum class Added {
    Written,        // finished, waiting for its batch to be placed
    SourceMissing,  // the source is gone, or is a folder now: nothing was written
    Abandoned,      // progress said to stop: nothing of it is left
  };

  // What a placed copy holds: the hash of the bytes it was written with,
  // the source's version they were read as, and the copy as it stood once
  // placed (none where its time had to be set again or it was not found).
  struct Written {
    ContentHash hash = 0;
    FileVersion source;
    std::optional<ListedEntry> in_place;
  };

  // The destinations of a placing, in the order their copies were added.
  struct Placed {
    std::vector<std::string> placed;
    std::vector<Written> written;      // of each placed copy
    std::vector<std::string> changed;  // no longer what the copy may replace: left as they are
  };

  // A copy of a batch as it is about to be placed.
  struct Placement {
    std::string destination;
    std::string temporary;  // the file written, beside the destination
    Replaces::Kind kind;
    bool keeps_old;  // the file it replaces is kept (Replaces::keep_as)
  };
  enum class Step {
    Flushing,  // the batch is being flushed to its media
    Flushed,   // and now its copies take their names
  };
  // Told of each step of a placing, with the files the batch's flush
  // covers; at Flushing it may add its own (a journal naming the batch), to
  // be flushed by the same flush. What it raises ends the placing before any
  // copy takes its name.
  using BatchWatch = std::function<void(Step step, const std::vector<Placement>& batch,
                                        std::vector<sys::Handle>& flushed)>;

  CopyBatch(Limits limits, SteadyClock clock = std::chrono::steady_clock::now,
            BatchWatch watch = {});
  ~CopyBatch();
  CopyBatch(const CopyBatch&) = delete;
  CopyBatch& operator=(const CopyBatch&) = delete;

  // Writes a copy of source for destination under a temporary name. A
  // refusal raises its run-time error, after the batch's finished copies
  // are placed.
  Added add(std::string_view source, std::string_view destination, Replaces replaces,
            const CopyProgress& progress = {},
            std::source_location where = std::source_location::current());

  // Whether the batch has reached one of its limits.
  bool full() const;

  // Flushes and places every finished copy. The first refusal raises its
  // error once every other copy of the batch is placed.
  Placed place(std::source_location where = std::source_location::current());
  // What the placings that ended in a refusal placed (and left) before it
  // was raised: a run that ends in an error still lists what it did.
  Placed take_unclaimed() { return std::exchange(unclaimed_, {}); }

 private:
  struct Pending;

  Placed place_finished(std::source_location where, bool raise);
  void claim_later(Placed placed);

  Limits limits_;
  SteadyClock clock_;
  BatchWatch watch_;
  std::vector<Pending> pending_;
  Placed unclaimed_;
  sys::CopyDevices devices_;
  std::uint64_t bytes_ = 0;
  std::chrono::steady_clock::time_point started_;
};

// Copies a file over whatever file stands at the destination, as a batch of
// one: flushed, then put in place in one rename, so that a copy that fails
// leaves the old destination as it was and no temporary file behind. A
// source that is gone raises error 63 (system code 2), a folder error 75.
void copy_file(std::string_view source, std::string_view destination,
               const CopyProgress& progress = {},
               std::source_location where = std::source_location::current());

}  // namespace tav
