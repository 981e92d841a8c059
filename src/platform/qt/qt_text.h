// UTF-8 text of the program as Qt text.
#pragma once

#include <QString>
#include <string_view>

namespace tav::qt {

inline QString qt_text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tav::qt
