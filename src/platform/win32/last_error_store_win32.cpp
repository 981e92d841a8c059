// The last-error record in the per-user registry.
#include <windows.h>

#include "platform/last_error_store.h"
#include "platform/win32/wide.h"

namespace tav {

namespace {

constexpr wchar_t kRecordKey[] = L"Software\\Mervanti\\Lorquen V6.3\\RUNTIME\\ERROR";

void set_text(HKEY key, const wchar_t* name, const std::string& value) {
  const std::wstring wide = win32::widen(value);
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

void set_number(HKEY key, const wchar_t* name, std::uint32_t value) {
  const DWORD number = value;
  ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
}

}  // namespace

void store_last_error_record(const LastErrorRecord& record) noexcept {
  try {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return;
    }
    set_text(key, L"MODL", record.modl);
    set_number(key, L"LINE", record.line);
    set_number(key, L"CODE", record.code);
    set_number(key, L"FUNC", record.func);
    set_number(key, L"INFO", record.info);
    set_text(key, L"TIME", record.time);
    set_text(key, L"MODE", record.mode);
    set_text(key, L"RTL", record.rtl);
    if (record.apierr) set_number(key, L"APIERR", *record.apierr);
    ::RegCloseKey(key);
  } catch (...) {
    // The report goes on without the record.
  }
}

}  // namespace tav
