#include "files/read_back_queue.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <utility>

namespace tav {

ReadBackQueue::ReadBackQueue(std::vector<Item> items, std::size_t readers)
    : items_(std::move(items)), slots_(items_.size()) {
  // Each reader's buffer is taken here, where running out of memory is
  // reported as anywhere else in the run.
  std::vector<std::unique_ptr<ReadBackCheck>> checks;
  for (std::size_t i = 0; i < std::min(readers, items_.size()); ++i) {
    checks.push_back(std::make_unique<ReadBackCheck>());
  }
  readers_.reserve(checks.size());
  for (auto& check : checks) {
    try {
      readers_.emplace_back([this, own = std::move(check)] { read_items(*own); });
    } catch (const std::system_error&) {
      break;  // the system gives no more threads: those started do the work
    }
  }
}

ReadBackQueue::~ReadBackQueue() { stop_readers(); }

void ReadBackQueue::stop_readers() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  for (auto& reader : readers_) reader.join();
  readers_.clear();
}

void ReadBackQueue::read_items(ReadBackCheck& check) {
  for (;;) {
    std::size_t index = 0;
    {
      const std::lock_guard lock(mutex_);
      if (stopping_ || next_to_read_ == items_.size()) return;
      index = next_to_read_++;
    }
    const Item& item = items_[index];
    ReadBack verdict = ReadBack::Stopped;
    std::exception_ptr error;
    try {
      verdict = check.check(item.path, item.written, [&](std::uint64_t read) {
        const std::lock_guard lock(mutex_);
        slots_[index].read = read;
        changed_.notify_all();
        return !stopping_;
      });
    } catch (...) {
      error = std::current_exception();
    }
    const std::lock_guard lock(mutex_);
    slots_[index].verdict = verdict;
    slots_[index].error = error;
    changed_.notify_all();
    if (error) return;
  }
}

ReadBack ReadBackQueue::next(const ReadBackProgress& progress) {
  const std::size_t index = next_verdict_++;
  if (readers_.empty()) {
    if (!own_check_) own_check_ = std::make_unique<ReadBackCheck>();
    return own_check_->check(items_[index].path, items_[index].written, progress);
  }
  std::unique_lock lock(mutex_);
  std::uint64_t heard = 0;
  for (;;) {
    const Slot& slot = slots_[index];
    changed_.wait(lock, [&] { return slot.verdict || slot.read != heard; });
    // Every read heard, the last too: a stop is heard however soon the
    // reader was done.
    if (slot.read == heard) {
      if (slot.error) std::rethrow_exception(slot.error);
      return *slot.verdict;
    }
    heard = slot.read;
    lock.unlock();
    const bool go_on = !progress || progress(heard);
    lock.lock();
    if (!go_on) {
      stopping_ = true;
      return ReadBack::Stopped;
    }
  }
}

}  // namespace tav
