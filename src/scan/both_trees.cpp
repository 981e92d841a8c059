#include "scan/both_trees.h"

#include <chrono>
#include <future>
#include <mutex>

namespace tav {

namespace {

// How often the calling thread looks up from its wait while the trees are
// read.
constexpr std::chrono::milliseconds kLookUpEvery{10};

// The folder being read, written by the readers and shown by the caller.
class FolderBeingRead {
 public:
  void set(const std::string& folder) {
    const std::lock_guard lock(mutex_);
    folder_ = folder;
    changed_ = true;
  }
  // The folder, when it changed since the last call.
  bool take(std::string& folder) {
    const std::lock_guard lock(mutex_);
    if (!changed_) return false;
    folder = folder_;
    changed_ = false;
    return true;
  }

 private:
  std::mutex mutex_;
  std::string folder_;
  bool changed_ = false;
};

}  // namespace

BothTrees read_both_trees(const std::string& drive_root, const std::string& folder_root,
                          ScanProgress& progress) {
  FolderBeingRead reading;
  const auto on_folder = [&reading](const std::string& folder) { reading.set(folder); };
  auto drive = std::async(std::launch::async, [&] { return read_tree(drive_root, on_folder); });
  auto folder = std::async(std::launch::async, [&] { return read_tree(folder_root, on_folder); });
  const auto ready = [](std::future<TreeSnapshot>& tree) {
    return tree.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
  };
  std::string shown;
  for (;;) {
    // Waits for the reader that is still at work.
    auto& awaited = ready(drive) ? folder : drive;
    const bool done = awaited.wait_for(kLookUpEvery) == std::future_status::ready &&
                      ready(drive) && ready(folder);
    if (reading.take(shown)) progress.searching(shown);
    if (done) break;
    progress.between_steps();
  }
  return {drive.get(), folder.get()};
}

}  // namespace tav
