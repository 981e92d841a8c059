#include "errors/control_errors.h"

#include "errors/runtime_error.h"

namespace tav {

void raise_control_error(int number, std::uint8_t operation_family) {
  raise_error(number, control_error_detail(operation_family));
}

}  // namespace tav
