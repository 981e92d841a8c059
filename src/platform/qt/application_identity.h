// How the Linux program presents itself to the desktop: its name, the
// desktop entry its windows belong to (a Wayland desktop finds the
// program's name and icon through it) and the window icon.
#pragma once

namespace tav::qt {

// Called once the application object exists. The icon pictures are
// resources of the program (":/tavrelon/tavrelon-SIZE.png").
void present_application();

}  // namespace tav::qt
