#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/wide.h"
#include "support/last_error_store.h"

namespace tav::test {

constexpr wchar_t kRecordKey[] = L"Software\\Mervanti\\Lorquen V6.3\\RUNTIME\\ERROR";

// A key of the test process's own stands in for HKEY_CURRENT_USER.
struct OwnLastErrorStore::Place {
  std::wstring name = L"Software\\Tavrelon test " + std::to_wstring(::GetCurrentProcessId());
  HKEY key = nullptr;
};

OwnLastErrorStore::OwnLastErrorStore() : place_(std::make_unique<Place>()) {
  ::RegCreateKeyExW(HKEY_CURRENT_USER, place_->name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                    KEY_ALL_ACCESS, nullptr, &place_->key, nullptr);
  EXPECT_EQ(::RegOverridePredefKey(HKEY_CURRENT_USER, place_->key), ERROR_SUCCESS);
}

OwnLastErrorStore::~OwnLastErrorStore() {
  ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  ::RegDeleteTreeW(place_->key, nullptr);
  ::RegCloseKey(place_->key);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, place_->name.c_str());
}

std::map<std::string, OwnLastErrorStore::Value> OwnLastErrorStore::values() const {
  std::map<std::string, Value> values;
  HKEY record = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, KEY_READ, &record) != ERROR_SUCCESS) {
    return values;
  }
  wchar_t name[64];
  alignas(DWORD) BYTE data[1024];
  for (DWORD index = 0;; ++index) {
    DWORD name_length = std::size(name), type = 0, size = sizeof data;
    if (::RegEnumValueW(record, index, name, &name_length, nullptr, &type, data, &size) !=
        ERROR_SUCCESS) {
      break;
    }
    const std::string key = win32::narrow(name);
    if (type == REG_DWORD) {
      values[key] = *reinterpret_cast<const DWORD*>(data);
    } else if (type == REG_SZ) {
      std::wstring_view text(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
      if (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
      values[key] = win32::narrow(text);
    } else {
      ADD_FAILURE() << key << " is stored with type " << type;
    }
  }
  ::RegCloseKey(record);
  return values;
}

}  // namespace tav::test
