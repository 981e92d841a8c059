#include "platform/form.h"

#include <stdexcept>

namespace tav {

const ControlSpec& FormSpec::control(Control id) const {
  for (const auto& spec : controls) {
    if (spec.id == id) return spec;
  }
  throw std::logic_error("the form has no such control");
}

}  // namespace tav
