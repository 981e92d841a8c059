// Whole files over the thin system calls: copies, and small files read and
// replaced. A copy or a replacement is written to a temporary file beside
// the destination, which one rename puts in its place: a failure leaves the
// destination as it was and no temporary file behind.
#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/system_files.h"
#include "platform/text.h"

namespace tav::sys {

namespace {

constexpr std::size_t kCopyChunk = 1 << 20;

// An open file, closed when it goes.
class OpenFile {
 public:
  explicit OpenFile(Handle handle) : handle_(handle) {}
  ~OpenFile() { close(); }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  bool is_open() const { return handle_ != kNoHandle; }
  Handle get() const { return handle_; }
  bool close() {
    const Handle handle = std::exchange(handle_, kNoHandle);
    return handle == kNoHandle || close_file(handle);
  }

 private:
  Handle handle_;
};

std::string temporary_path(std::string_view destination) {
  static std::atomic<unsigned> counter{0};
  // Windows takes "/" between names as well.
  const auto cut = destination.find_last_of(kPathSeparator == '/' ? "/" : "\\/");
  const auto folder = destination.substr(0, cut == std::string_view::npos ? 0 : cut + 1);
  return std::string(folder) + kTemporaryPrefix + std::to_string(process_id()) + "-" +
         std::to_string(counter++) + ".tmp";
}

// A new file beside its destination, removed unless place() put it there.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string_view destination)
      : destination_(destination),
        path_(temporary_path(destination)),
        file_(create_new_file(path_)) {}
  ~TemporaryFile() {
    file_.close();
    if (!placed_) delete_file(path_);
  }

  bool is_open() const { return file_.is_open(); }
  Handle get() const { return file_.get(); }

  // Closes the file and renames it over the destination; 0 or the code.
  Code place() {
    if (!file_.close() || !rename_over(path_, destination_)) return last_code(destination_);
    placed_ = true;
    return 0;
  }

 private:
  std::string_view destination_;
  std::string path_;
  OpenFile file_;
  bool placed_ = false;
};

bool write_all(Handle file, const char* data, std::size_t size) {
  while (size > 0) {
    const std::ptrdiff_t written = write_some(file, data, size);
    if (written < 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

Code copy_file(std::string_view source, std::string_view destination,
               const CopyProgress& progress) {
  OpenFile in(open_source(source));
  FileFacts facts;
  if (!in.is_open() || !read_facts(in.get(), facts)) return last_code(source);
  if (facts.folder || refuses_overwrite(destination)) return kAccessDenied;

  TemporaryFile out(destination);
  if (!out.is_open()) return last_code(destination);
  // Not cleared first: every byte written is one just read.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kCopyChunk);
  std::uint64_t copied = 0;
  while (const std::ptrdiff_t got = read_some(in.get(), buffer.get(), kCopyChunk)) {
    if (got < 0) return last_code(source);
    if (!write_all(out.get(), buffer.get(), got)) return last_code(destination);
    copied += got;
    if (progress) progress(copied);
  }
  if (!keep_times(out.get(), facts)) return last_code(destination);
  if (const Code code = out.place()) return code;
  return keep_attributes(destination, facts) ? 0 : last_code(destination);
}

Code read_file(std::string_view path, std::string& content) {
  OpenFile in(open_to_read(path));
  if (!in.is_open()) return last_code(path);
  content.clear();
  char buffer[4096];
  while (const std::ptrdiff_t got = read_some(in.get(), buffer, sizeof buffer)) {
    if (got < 0) return last_code(path);
    content.append(buffer, got);
  }
  return 0;
}

Code replace_file(std::string_view path, std::string_view content) {
  if (refuses_overwrite(path)) return kAccessDenied;
  TemporaryFile out(path);
  if (!out.is_open()) return last_code(path);
  if (!write_all(out.get(), content.data(), content.size()) || !flush_file(out.get())) {
    return last_code(path);
  }
  return out.place();
}

}  // namespace tav::sys
