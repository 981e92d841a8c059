// The record of the last run-time error in this platform's per-user store:
// the registry on Windows, a small text file under the user's configuration
// folder elsewhere.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tav {

// The values of the last-error record, under their stored names.
struct LastErrorRecord {
  std::string modl;
  std::uint32_t line = 0;
  std::uint32_t code = 0;
  std::uint32_t func = 0;
  std::uint32_t info = 0;
  std::string time;
  std::string mode;
  std::string rtl;
  std::optional<std::uint32_t> apierr;
};

// Writes the record to the store; a store that cannot be written is passed
// over silently.
void store_last_error_record(const LastErrorRecord& record) noexcept;

}  // namespace tav
