#include "platform/qt/font_faces.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <array>
#include <span>

#include "platform/qt/qt_text.h"

namespace tav::qt {

namespace {

// Stand-ins by pitch, best first.
const std::array<const char*, 5> kMonospaced{
    "IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic", "Noto Sans CJK JP", "IPAPGothic",
};
const std::array<const char*, 5> kProportional{
    "IPAPGothic", "Noto Sans CJK JP", "VL PGothic", "IPAGothic", "Noto Sans Mono CJK JP",
};

struct FaceStandIns {
  std::string_view face;
  std::span<const char* const> stand_ins;
};

// The form's faces; "FixedSys" is the design font of the form itself.
const std::array<FaceStandIns, 3> kFaces{{
    {"ＭＳ ゴシック", kMonospaced},
    {"ＭＳ Ｐゴシック", kProportional},
    {"FixedSys", kMonospaced},
}};

QString first_installed(const QStringList& families, std::span<const char* const> candidates) {
  for (const char* candidate : candidates) {
    if (families.contains(QString::fromUtf8(candidate), Qt::CaseInsensitive)) {
      return QString::fromUtf8(candidate);
    }
  }
  return {};
}

}  // namespace

QString installed_face(std::string_view face) {
  const QString wanted = qt_text(face);
  const QStringList families = QFontDatabase::families();
  if (families.contains(wanted, Qt::CaseInsensitive)) return wanted;
  const auto known = std::ranges::find(kFaces, face, &FaceStandIns::face);
  const std::span<const char* const> stand_ins =
      known == kFaces.end() ? std::span<const char* const>(kMonospaced) : known->stand_ins;
  const QString stand_in = first_installed(families, stand_ins);
  return stand_in.isEmpty() ? wanted : stand_in;
}

}  // namespace tav::qt
