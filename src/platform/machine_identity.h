// What tells this computer apart from others: a text the system keeps for
// its installation, the same every time it is asked on this computer.
#pragma once

#include <string>

namespace tav {

// On Linux the machine id of the installed system (/etc/machine-id, else
// /var/lib/dbus/machine-id); on Windows the identity of the installation in
// the registry (MachineGuid). Where the system keeps none, the computer's
// name after "host:".
std::string machine_id();

}  // namespace tav
