// Files a copy writes under a temporary name beside its destination, and
// open files closed when they go: shared by the copies and the small files.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/system_files.h"

namespace tav::sys {

// An open file, closed when it goes. The close of a file that was written
// tells whether its data is safe; the close of one only read tells nothing.
class OpenFile {
 public:
  enum class Use { Read, Write };

  explicit OpenFile(Handle handle = kNoHandle, Use use = Use::Read)
      : handle_(handle), use_(use) {}
  ~OpenFile() { close(); }
  OpenFile(OpenFile&& other) noexcept
      : handle_(std::exchange(other.handle_, kNoHandle)), use_(other.use_) {}
  OpenFile& operator=(OpenFile&& other) noexcept {
    if (this != &other) {
      close();
      handle_ = std::exchange(other.handle_, kNoHandle);
      use_ = other.use_;
    }
    return *this;
  }

  bool is_open() const { return handle_ != kNoHandle; }
  Handle get() const { return handle_; }
  bool close() {
    const Handle handle = std::exchange(handle_, kNoHandle);
    if (handle == kNoHandle) return true;
    if (use_ == Use::Write) return close_file(handle);
    release_file(handle);
    return true;
  }

 private:
  Handle handle_;
  Use use_;
};

// A new file beside its destination, named for this program, removed when
// it goes unless it was put in the destination's place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string_view destination);
  ~TemporaryFile();
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;

  bool is_open() const { return file_.is_open(); }
  Handle get() const { return file_.get(); }
  const std::string& destination() const { return destination_; }

  // Closes the file and renames it over the destination; 0 or the code.
  Code place();
  // The same, but only where nothing stands at the destination: false when
  // something does (the file then stays where it is).
  Code place_new(bool& taken);
  // The same over what stands there, which is kept as keep_as.
  Code place_keeping(std::string_view keep_as);
  const std::string& path() const { return path_; }
  // Closes and removes the file now.
  void discard();

 private:
  std::string destination_;
  std::string path_;
  OpenFile file_;
  bool done_ = false;
};

// Writes the whole of data; false when the system refuses.
bool write_all(Handle file, const char* data, std::size_t size);

}  // namespace tav::sys
