#include "platform/win32/window/control_create.h"

#include <algorithm>
#include <array>

#include "platform/win32/window/control_style.h"
#include "platform/win32/window/dpi.h"
#include "platform/win32/window/form_window_class.h"
#include "platform/win32/wide.h"

namespace tav::win32 {

namespace {

struct KindArgs {
  ControlKind kind;
  const wchar_t* window_class;
  DWORD style;
  DWORD ex_style;
};

// clang-format off
constexpr std::array<KindArgs, 6> kKindArgs{{
  {ControlKind::PushButton, L"BUTTON",   BS_PUSHBUTTON | WS_TABSTOP,                                 0},
  {ControlKind::CheckBox,   L"BUTTON",   BS_AUTOCHECKBOX | WS_TABSTOP,                               0},
  {ControlKind::Edit,       L"EDIT",     ES_AUTOHSCROLL | ES_NOHIDESEL | WS_TABSTOP,                 WS_EX_CLIENTEDGE},
  {ControlKind::StaticText, L"STATIC",   SS_CENTER,                                                  0},
  {ControlKind::ListBox,    L"LISTBOX",  LBS_NOTIFY | LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP,      WS_EX_CLIENTEDGE},
  {ControlKind::ComboBox,   L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,   0},
}};
// clang-format on

// Child window identifiers: the control's number in the Control enum plus this.
constexpr int kFirstControlId = 1000;

const KindArgs& kind_args(ControlKind kind) {
  return *std::ranges::find(kKindArgs, kind, &KindArgs::kind);
}

}  // namespace

CreateArgs create_args(const ControlDesc& desc, int dpi) {
  const KindArgs& kind = kind_args(desc.kind);
  const PixelRect rect = scaled_rect(desc, dpi);
  CreateArgs args{kind.window_class, widen(desc.design_text), WS_CHILD | WS_VISIBLE | kind.style,
                  kind.ex_style, rect.left, rect.top, rect.width, rect.height,
                  kFirstControlId + static_cast<int>(desc.id)};
  if (desc.bordered) args.style |= WS_BORDER;
  if (desc.kind == ControlKind::ListBox && desc.sorted) args.style |= LBS_SORT;
  return args;
}

bool register_form_class(HINSTANCE instance) {
  WNDCLASSEXW form_class{};
  form_class.cbSize = sizeof form_class;
  form_class.lpfnWndProc = form_window_procedure;
  form_class.hInstance = instance;
  form_class.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kFormIconId));
  form_class.hIconSm = static_cast<HICON>(::LoadImageW(
      instance, MAKEINTRESOURCEW(kFormIconId), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
      ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  form_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  form_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form_class.lpszClassName = kFormClassName;
  return ::RegisterClassExW(&form_class) != 0 ||
         ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

namespace {

// The form's created size at its DPI, centred on the screen, each half
// truncated.
RECT centred_frame(const FormState& state) {
  const int screen_width = ::GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = ::GetSystemMetrics(SM_CYSCREEN);
  const int width = scale_pixels(state.desc.created_width, state.dpi);
  const int height = scale_pixels(state.desc.created_height, state.dpi);
  const int left = screen_width / 2 - width / 2;
  const int top = screen_height / 2 - height / 2;
  return {left, top, left + width, top + height};
}

// Made at the system's DPI; where the monitor it lands on has another, it
// takes that monitor's scale before its controls are made.
HWND create_form(FormState& state, HINSTANCE instance) {
  state.dpi = system_dpi();
  RECT frame = centred_frame(state);
  if (!::CreateWindowExW(0, kFormClassName, widen(state.desc.title).c_str(), kFormStyle,
                         frame.left, frame.top, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, nullptr, instance, &state)) {
    return nullptr;
  }
  if (const int dpi = window_dpi(state.form); dpi != state.dpi) {
    state.dpi = dpi;
    frame = centred_frame(state);
    ::SetWindowPos(state.form, nullptr, frame.left, frame.top, frame.right - frame.left,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return state.form;
}

HWND create_control(const ControlDesc& desc, int dpi, HWND form, HINSTANCE instance) {
  const CreateArgs args = create_args(desc, dpi);
  return ::CreateWindowExW(args.ex_style, args.window_class, args.text.c_str(), args.style,
                           args.left, args.top, args.width, args.height, form,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), instance,
                           nullptr);
}

}  // namespace

bool create_form_windows(FormState& state, HINSTANCE instance) {
  // The window procedure records the form's handle in state.form.
  if (!create_form(state, instance)) return false;
  state.windows[0] = state.form;
  state.fonts[0] = {widen(state.desc.face), state.desc.char_height, false, nullptr};
  apply_font(state, Control::MainForm);
  for (const ControlDesc& desc : state.desc.controls) {
    const HWND control = create_control(desc, state.dpi, state.form, instance);
    if (!control) return false;
    state.windows[static_cast<std::size_t>(desc.id)] = control;
    state.fonts[static_cast<std::size_t>(desc.id)] = {widen(desc.face), desc.char_height,
                                                       desc.bold, nullptr};
    apply_font(state, desc.id);
    if (desc.text_limit > 0) {
      ::SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(desc.text_limit), 0);
    }
  }
  return true;
}

}  // namespace tav::win32
