#include "platform/win32/window/list_control.h"

#include <algorithm>
#include <utility>

#include "errors/control_errors.h"
#include "platform/win32/wide.h"

namespace tav::win32 {

namespace {

// The same operations have their own messages in list boxes and combo boxes.
struct ListMessages {
  UINT reset, add, insert, init_storage, text_length, text, selected;
  LRESULT error, no_space;
  int refused;
};

constexpr ListMessages kListBox{LB_RESETCONTENT, LB_ADDSTRING, LB_INSERTSTRING,
                                LB_INITSTORAGE,  LB_GETTEXTLEN, LB_GETTEXT,
                                LB_GETCURSEL,    LB_ERR,        LB_ERRSPACE,
                                err::kListRefused};
constexpr ListMessages kComboBox{CB_RESETCONTENT, CB_ADDSTRING,    CB_INSERTSTRING,
                                 CB_INITSTORAGE,  CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                 CB_GETCURSEL,    CB_ERR,          CB_ERRSPACE,
                                 err::kComboRefused};

// The order of a sorted list box: CompareStringW in the list box's locale,
// ignoring case.
constexpr DWORD kListOrder = NORM_IGNORECASE;

const ListMessages& messages_of(ControlKind kind) {
  return kind == ControlKind::ComboBox ? kComboBox : kListBox;
}

LRESULT send(HWND list, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  return ::SendMessageW(list, message, wparam, lparam);
}

// Adds at the list's own place for it, or with append at the end.
void add_wide(HWND list, const ListMessages& m, const std::wstring& text, bool append = false) {
  const LRESULT result = append ? send(list, m.insert, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()))
                                : send(list, m.add, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (result == m.no_space) raise_control_error(err::kListSpace, family::kListAdd);
  if (result == m.error) raise_control_error(m.refused, family::kListAdd);
}

bool is_sorted_list(HWND list, ControlKind kind) {
  return kind == ControlKind::ListBox && (::GetWindowLongPtrW(list, GWL_STYLE) & LBS_SORT) != 0;
}

// Redrawing stays off while the list changes, and is back on however the
// change ends.
class RedrawSuspended {
 public:
  explicit RedrawSuspended(HWND list) : list_(list) { send(list_, WM_SETREDRAW, FALSE); }
  RedrawSuspended(const RedrawSuspended&) = delete;
  RedrawSuspended& operator=(const RedrawSuspended&) = delete;
  ~RedrawSuspended() {
    send(list_, WM_SETREDRAW, TRUE);
    ::InvalidateRect(list_, nullptr, TRUE);
  }

 private:
  HWND list_;
};

}  // namespace

void list_clear(HWND list, ControlKind kind) { send(list, messages_of(kind).reset); }

void list_add(HWND list, ControlKind kind, std::string_view text) {
  add_wide(list, messages_of(kind), widen(text));
}

namespace {

// A key whose bytes compare as CompareStringW compares the text.
std::string sort_key(LCID locale, const std::wstring& text) {
  const DWORD flags = LCMAP_SORTKEY | kListOrder;
  const int size = ::LCMapStringW(locale, flags, text.c_str(), -1, nullptr, 0);
  std::string key(static_cast<std::size_t>(size), '\0');
  ::LCMapStringW(locale, flags, text.c_str(), -1, reinterpret_cast<LPWSTR>(key.data()), size);
  return key;
}

void sort_by_keys(LCID locale, std::vector<std::wstring>& lines) {
  std::vector<std::pair<std::string, std::size_t>> keyed;
  keyed.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) keyed.emplace_back(sort_key(locale, lines[i]), i);
  std::ranges::stable_sort(keyed, {}, &std::pair<std::string, std::size_t>::first);
  std::vector<std::wstring> sorted;
  sorted.reserve(lines.size());
  for (auto& [key, at] : keyed) sorted.push_back(std::move(lines[at]));
  lines = std::move(sorted);
}

}  // namespace

void sort_like_list_box(HWND list, std::vector<std::wstring>& lines) {
  const auto locale = static_cast<LCID>(send(list, LB_GETLOCALE));
  const auto before = [locale](const std::wstring& a, const std::wstring& b) {
    return ::CompareStringW(locale, kListOrder, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
  };
  // One key per line and byte comparisons are much cheaper than comparing
  // the texts again and again; one pass over neighbours confirms the order,
  // and should a key ever disagree, the texts themselves decide.
  sort_by_keys(locale, lines);
  if (!std::ranges::is_sorted(lines, before)) std::ranges::stable_sort(lines, before);
}

void list_fill(HWND list, ControlKind kind, const std::vector<std::string>& lines) {
  const ListMessages& m = messages_of(kind);
  std::vector<std::wstring> wide;
  wide.reserve(lines.size());
  std::size_t bytes = 0;
  for (const std::string& line : lines) {
    wide.push_back(widen(line));
    bytes += (wide.back().size() + 1) * sizeof(wchar_t);
  }
  // A sorted list box would search every line's place among the others.
  // The lines are put in its order here instead and appended, which leaves
  // the same list; the list box keeps its style, so later single adds still
  // land at their sorted places.
  const bool sorted = is_sorted_list(list, kind);
  if (sorted) sort_like_list_box(list, wide);

  const RedrawSuspended suspended(list);
  send(list, m.reset);
  send(list, m.init_storage, wide.size(), static_cast<LPARAM>(bytes));
  for (const std::wstring& line : wide) add_wide(list, m, line, sorted);
}

std::string list_item_text(HWND list, ControlKind kind, int row) {
  if (row < 0) return {};
  const ListMessages& m = messages_of(kind);
  const LRESULT length = send(list, m.text_length, static_cast<WPARAM>(row));
  if (length == m.error || length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      send(list, m.text, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
  if (copied == m.error || copied < 0) return {};
  text.resize(static_cast<std::size_t>(copied));
  return narrow(text);
}

int list_selected_index(HWND list, ControlKind kind) {
  const LRESULT selected = send(list, messages_of(kind).selected);
  return selected == messages_of(kind).error ? -1 : static_cast<int>(selected);
}

}  // namespace tav::win32
