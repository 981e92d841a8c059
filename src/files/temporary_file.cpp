// Small files read and replaced whole over the thin system calls, and the
// temporary files that every replacement and copy is written to: one rename
// puts a temporary file in its destination's place, so a failure leaves the
// destination as it was and no temporary file behind.
#include <atomic>
#include <string>

#include "files/temporary_file.h"
#include "platform/text.h"

namespace tav::sys {

namespace {

std::string temporary_path(std::string_view destination) {
  static std::atomic<unsigned> counter{0};
  // Windows takes "/" between names as well.
  const auto cut = destination.find_last_of(kPathSeparator == '/' ? "/" : "\\/");
  const auto folder = destination.substr(0, cut == std::string_view::npos ? 0 : cut + 1);
  return std::string(folder) + std::string(kTemporaryHiding) + std::string(kTemporaryStem) +
         std::to_string(process_id()) + "-" + std::to_string(counter++) +
         std::string(kTemporarySuffix);
}

}  // namespace

TemporaryFile::TemporaryFile(std::string_view destination)
    : destination_(destination),
      path_(temporary_path(destination)),
      file_(create_new_file(path_), OpenFile::Use::Write) {}

TemporaryFile::~TemporaryFile() { discard(); }

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : destination_(std::move(other.destination_)),
      path_(std::move(other.path_)),
      file_(std::move(other.file_)),
      done_(std::exchange(other.done_, true)) {}

Code TemporaryFile::place() {
  if (!file_.close() || !rename_over(path_, destination_)) return last_code(destination_);
  done_ = true;
  return 0;
}

Code TemporaryFile::place_keeping(std::string_view keep_as) {
  if (!file_.close() || !replace_keeping(path_, destination_, keep_as)) {
    return last_code(destination_);
  }
  done_ = true;
  return 0;
}

Code TemporaryFile::place_new(bool& taken) {
  taken = false;
  if (!file_.close()) return last_code(destination_);
  if (!rename_new(path_, destination_)) {
    const Code code = last_code(destination_);
    taken = code == kAlreadyExists || code == kFileExists;
    return taken ? 0 : code;
  }
  done_ = true;
  return 0;
}

void TemporaryFile::discard() {
  file_.close();
  if (!std::exchange(done_, true)) delete_file(path_);
}

bool write_all(Handle file, const char* data, std::size_t size) {
  while (size > 0) {
    const std::ptrdiff_t written = write_some(file, data, size);
    if (written < 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
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
  TemporaryFile out(path);
  if (!out.is_open()) return last_code(path);
  const Handle file = out.get();
  if (!write_all(file, content.data(), content.size()) || !flush_files({&file, 1})) {
    return last_code(path);
  }
  return out.place();
}

}  // namespace tav::sys
