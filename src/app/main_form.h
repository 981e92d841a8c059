// The form MAINFORM as data: fourteen controls with their places, texts,
// colours, fonts and the events that have procedures.
#pragma once

#include "window/form.h"

namespace tav {

const FormDesc& main_form();

}  // namespace tav
