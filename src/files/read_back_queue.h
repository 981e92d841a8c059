// The check of many placed copies at once: a few readers of their own read
// the files back from their media, each file started in the order given,
// while the caller takes the verdicts in that same order. A medium answers
// several reads in flight far sooner than the same reads one at a time
// (most of a small file's check is waiting for its one read), and the
// order given still decides which files are read first.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "files/read_back.h"

namespace tav {

class ReadBackQueue {
 public:
  struct Item {
    std::string path;
    ContentHash written;
  };

  // Starts reading at once. Where no reader of its own can be started, the
  // files are read one at a time by the calls to next.
  explicit ReadBackQueue(std::vector<Item> items, std::size_t readers = 4);
  // Stops the readers after the chunk each is reading, and waits for them.
  ~ReadBackQueue();
  ReadBackQueue(const ReadBackQueue&) = delete;
  ReadBackQueue& operator=(const ReadBackQueue&) = delete;

  // The verdict on the next item in order, waiting for it. While it waits,
  // progress hears the bytes of that item read so far whenever more were
  // read; when it answers no, every reader stops and the verdict is
  // Stopped. What the reading of the item raised (memory running out) is
  // raised here. Called at most once for each item.
  ReadBack next(const ReadBackProgress& progress);

 private:
  struct Slot {
    std::uint64_t read = 0;
    std::optional<ReadBack> verdict;
    std::exception_ptr error;  // what the reading raised, raised again by next
  };

  void read_items(ReadBackCheck& check);
  void stop_readers();

  const std::vector<Item> items_;
  std::vector<Slot> slots_;      // guarded by mutex_
  std::size_t next_to_read_ = 0;  // guarded by mutex_
  bool stopping_ = false;         // guarded by mutex_
  std::size_t next_verdict_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> readers_;
  std::unique_ptr<ReadBackCheck> own_check_;  // where no reader could start
};

}  // namespace tav
