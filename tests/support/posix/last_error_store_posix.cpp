#include <cstdlib>
#include <fstream>
#include <optional>

#include "support/last_error_store.h"
#include "support/temp_tree.h"

namespace tav::test {

struct OwnLastErrorStore::Place {
  TempTree configuration;
  std::optional<std::string> replaced;
};

OwnLastErrorStore::OwnLastErrorStore() : place_(std::make_unique<Place>()) {
  if (const char* current = std::getenv("XDG_CONFIG_HOME")) place_->replaced = current;
  ::setenv("XDG_CONFIG_HOME", place_->configuration.root().c_str(), 1);
}

OwnLastErrorStore::~OwnLastErrorStore() {
  if (place_->replaced) {
    ::setenv("XDG_CONFIG_HOME", place_->replaced->c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

std::map<std::string, OwnLastErrorStore::Value> OwnLastErrorStore::values() const {
  std::map<std::string, Value> values;
  std::ifstream file(place_->configuration.path("Mervanti/Lorquen V6.3/RUNTIME/ERROR"));
  for (std::string line; std::getline(file, line);) {
    const auto equals = line.find('=');
    const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
    const bool digits = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
    values[line.substr(0, equals)] =
        digits ? Value(static_cast<std::uint32_t>(std::stoul(value))) : Value(value);
  }
  return values;
}

}  // namespace tav::test
