#include "window/form.h"

#include <stdexcept>

namespace tav {

const ControlDesc& FormDesc::control(Control id) const {
  for (const auto& desc : controls) {
    if (desc.id == id) return desc;
  }
  throw std::logic_error("the form has no such control");
}

}  // namespace tav
