#include "support/temp_tree.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "platform/text.h"

namespace tav::test {

namespace {

std::string utf8_of(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string unique_name() {
  static std::atomic<unsigned> counter{0};
  static const unsigned process = std::random_device{}();
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return "tavrelon-test-" + std::to_string(now) + "-" + std::to_string(process % 100000) + "-" +
         std::to_string(counter++);
}

}  // namespace

std::filesystem::path native(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

TempTree::TempTree() : TempTree(utf8_of(std::filesystem::temp_directory_path())) {}

TempTree::TempTree(std::string_view parent) {
  std::string base(parent);
  if (!base.empty() && base.back() != kPathSeparator) base += kPathSeparator;
  std::filesystem::create_directories(native(base));
  // Tests run in parallel processes: a name another one took is not used
  // again (making the folder is what takes it).
  do {
    root_ = base + unique_name();
  } while (!std::filesystem::create_directory(native(root_)));
}

TempTree::TempTree(Adopt, std::string root) : root_(std::move(root)), adopted_(true) {
  remove_contents();
}

TempTree::~TempTree() {
  remove_contents();
  std::error_code ignored;
  if (!adopted_) std::filesystem::remove(native(root_), ignored);
}

void TempTree::remove_contents() const {
  std::error_code ignored;
  const auto top = native(root_with_separator());
  // Read-only entries would stop the removal on Windows.
  for (auto it = std::filesystem::recursive_directory_iterator(top, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_symlink(ignored)) set_read_only(utf8_of(it->path()), false);
  }
  for (const auto& entry : std::filesystem::directory_iterator(top, ignored)) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

std::string TempTree::root_with_separator() const { return root_ + kPathSeparator; }

std::string native_rel(std::string_view rel) {
  std::string result(rel);
  for (char& c : result) c = c == '/' ? kPathSeparator : c;
  return result;
}

std::string TempTree::path(std::string_view rel) const {
  return root_with_separator() + native_rel(rel);
}

TempTree& TempTree::folder(std::string_view rel) {
  std::filesystem::create_directories(native(path(rel)));
  return *this;
}

TempTree& TempTree::file(std::string_view rel, std::string_view content) {
  const auto target = native(path(rel));
  std::filesystem::create_directories(target.parent_path());
  std::ofstream(target, std::ios::binary).write(content.data(),
                                                static_cast<std::streamsize>(content.size()));
  return *this;
}

TempTree& TempTree::file(std::string_view rel, std::string_view content, LocalTime written) {
  file(rel, content);
  set_local_write_time(path(rel), written);
  return *this;
}

std::string TempTree::read(std::string_view rel) const {
  std::ifstream in(native(path(rel)), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool TempTree::exists(std::string_view rel) const {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(native(path(rel)), ignored));
}

TempTree::Content TempTree::content() const { return content_of(root_with_separator()); }

TempTree::Content TempTree::content_of(const std::string& folder) {
  Content content;
  // With its separator: a drive's root is "X:\", "X:" being a current folder.
  const std::filesystem::path top = native(folder);
  for (auto it = std::filesystem::recursive_directory_iterator(top);
       it != std::filesystem::recursive_directory_iterator(); ++it) {
    const auto& entry = *it;
    const std::u8string utf8 = entry.path().lexically_relative(top).generic_u8string();
    const std::string rel(utf8.begin(), utf8.end());
    if (rel == ".tavrelon") {
      it.disable_recursion_pending();
      continue;
    }
    if (entry.is_directory()) {
      content[rel + "/"] = "";
    } else {
      std::ifstream file(entry.path(), std::ios::binary);
      content[rel] = std::string(std::istreambuf_iterator<char>(file), {});
    }
  }
  return content;
}

}  // namespace tav::test
