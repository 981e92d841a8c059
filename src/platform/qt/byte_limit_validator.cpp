#include "platform/qt/byte_limit_validator.h"

#include "platform/text.h"

namespace tav::qt {

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
  const std::size_t bytes = cp932_length(input.toStdString());
  return bytes <= static_cast<std::size_t>(limit_) ? Acceptable : Invalid;
}

}  // namespace tav::qt
