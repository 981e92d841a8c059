// The last-error record as a small text file under the user's configuration
// folder, one "NAME=value" line per value, with the names of the Windows
// registry values.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/last_error_store.h"
#include "platform/posix/configuration_home.h"
#include "platform/system_files.h"

namespace tav {

namespace {

constexpr const char* kRecordFolders[] = {"Mervanti", "Lorquen V6.3", "RUNTIME"};
constexpr const char* kRecordFile = "ERROR";

}  // namespace

void store_last_error_record(const LastErrorRecord& record) noexcept {
  try {
    std::string path = posix::configuration_home();
    ::mkdir(path.c_str(), 0700);
    for (const char* folder : kRecordFolders) {
      path += '/';
      path += folder;
      ::mkdir(path.c_str(), 0700);
    }
    path += '/';
    path += kRecordFile;

    std::string text = "MODL=" + record.modl + "\n";
    text += "LINE=" + std::to_string(record.line) + "\n";
    text += "CODE=" + std::to_string(record.code) + "\n";
    text += "FUNC=" + std::to_string(record.func) + "\n";
    text += "INFO=" + std::to_string(record.info) + "\n";
    text += "TIME=" + record.time + "\n";
    text += "MODE=" + record.mode + "\n";
    text += "RTL=" + record.rtl + "\n";
    if (record.apierr) text += "APIERR=" + std::to_string(*record.apierr) + "\n";
    sys::replace_file(path, text);
  } catch (...) {
    // The report goes on without the record.
  }
}

}  // namespace tav
