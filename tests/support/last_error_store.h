// While an OwnLastErrorStore lives, the last-error record goes to a store of
// its own: a configuration folder (XDG_CONFIG_HOME) or, under Windows, a
// registry key standing in for HKEY_CURRENT_USER. It reads the record back
// as another program would.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>

namespace tav::test {

class OwnLastErrorStore {
 public:
  // A stored value: a number (a registry DWORD, or a line's digits) or a text.
  using Value = std::variant<std::uint32_t, std::string>;

  OwnLastErrorStore();
  ~OwnLastErrorStore();
  OwnLastErrorStore(const OwnLastErrorStore&) = delete;
  OwnLastErrorStore& operator=(const OwnLastErrorStore&) = delete;

  // Every value of the record under its name.
  std::map<std::string, Value> values() const;

 private:
  struct Place;
  std::unique_ptr<Place> place_;
};

}  // namespace tav::test
