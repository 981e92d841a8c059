// The font faces of the form on a system that may not have them: the face
// itself where installed, otherwise the nearest Japanese Gothic face of the
// same pitch, chosen here so that it does not depend on the user's font
// configuration.
#pragma once

#include <QString>
#include <string_view>

namespace tav::qt {

// The installed family to draw a face of the form with.
QString installed_face(std::string_view face);

}  // namespace tav::qt
