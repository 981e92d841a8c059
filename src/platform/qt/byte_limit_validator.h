// The text limit of an edit field, counted in bytes of code page 932, a
// double-byte character counting two, as the form's limits are stated. It limits
// what the user types; the program's own set_text is not limited.
#pragma once

#include <QValidator>

namespace tav::qt {

class ByteLimitValidator final : public QValidator {
 public:
  ByteLimitValidator(int limit, QObject* parent) : QValidator(parent), limit_(limit) {}
  State validate(QString& input, int& position) const override;

 private:
  int limit_;
};

}  // namespace tav::qt
