#include "app/main_form.h"

#include <array>

namespace tav {

namespace {

constexpr std::string_view kGothic = "ＭＳ ゴシック";
constexpr std::string_view kPGothic = "ＭＳ Ｐゴシック";
constexpr int kEditLimit = 32767;

using K = ControlKind;
using C = Control;

// clang-format off
constexpr std::array<ControlDesc, 14> kControls{{
  // id        name       kind          left  top  wid  hgt  design text                                   text      backgr.   face      px  bold   sorted limit       border
  {C::List2,   "LIST2",   K::ListBox,     16, 488, 896, 147, "",                                          0x800080, 0xA0EFE5, kGothic,  16, false, false, 0,          false},
  {C::Edit1,   "EDIT1",   K::Edit,        32,  32, 400,  24, "",                                          0x000000, 0xFFFFFF, kGothic,  14, false, false, kEditLimit, true },
  {C::Button1, "BUTTON1", K::PushButton,   8,  32,  24,  24, "...",                                       0x000000, 0xC0C0C0, kPGothic, 14, false, false, 0,          false},
  {C::Button2, "BUTTON2", K::PushButton, 448,  32,  72,  24, "",                                          0x000000, 0xC0C0C0, kGothic,  30, true,  false, 0,          false},
  {C::Button3, "BUTTON3", K::PushButton, 520,  32,  80,  24, "",                                          0x000000, 0xC0C0C0, kPGothic, 30, true,  false, 0,          false},
  {C::Button4, "BUTTON4", K::PushButton, 800, 648, 112,  24, "中止",                                      0x000000, 0xC0C0C0, kPGothic, 14, false, false, 0,          false},
  {C::Edit3,   "EDIT3",   K::Edit,        16,  96, 896,  24, "",                                          0xFFFFFF, 0x0000FF, kPGothic, 16, false, false, kEditLimit, false},
  {C::Edit4,   "EDIT4",   K::Edit,        16, 464, 896,  24, "",                                          0xFFFFFF, 0x0000FF, kPGothic, 16, false, false, kEditLimit, false},
  {C::Text1,   "TEXT1",   K::StaticText,  16,  64, 896,  32, "",                                          0xFFFF00, 0x000080, kGothic,  14, true,  false, 0,          true },
  {C::Combo1,  "COMBO1",  K::ComboBox,   608,  32, 304, 312, "",                                          0x000000, 0xFFFFFF, kPGothic, 14, false, false, 0,          false},
  {C::Text5,   "TEXT5",   K::StaticText,  32,  16, 368,  16, "(本体k内の親ディレクトリとみなすフォルダ)", 0xC0C0C0, 0x000080, kGothic,  12, true,  false, 0,          false},
  {C::Text6,   "TEXT6",   K::StaticText, 608,  16, 296,  16, "(ＵＳＢ等の接続ドライブ)",                   0xC0C0C0, 0x000080, kGothic,  12, true,  false, 0,          false},
  {C::List1,   "LIST1",   K::ListBox,     16, 120, 896, 334, "",                                          0x000000, 0xA0EFE5, kGothic,  16, false, true,  0, false},
  {C::Check1,  "CHECK1",  K::CheckBox,    16, 648, 328,  24, "フォルダ・ファイルの削除はしない",          0x00FF00, 0x000080, kPGothic, 14, false, false, 0,          false},
}};
// clang-format on

constexpr FormDesc kMainForm{"Tavrelon", "MAINFORM", 948, 727, "FixedSys", 16, kControls,
                             "前回の処理を元に戻す(&U)..."};

}  // namespace

const FormDesc& main_form() { return kMainForm; }

}  // namespace tav
