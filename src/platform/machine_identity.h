// What tells this computer apart from others: a text the system keeps for
// its installation, the same every time it is asked on this computer, and
// the ID this program derives from it to write where other computers see it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tav {

// Tavrelon's own application ID: 128 random bits drawn once, the same in
// every version on every system. The machine's ID keyed over it gives an ID
// that only this program derives.
inline constexpr std::array<std::uint8_t, 16> kApplicationId{
    0x43, 0x4b, 0xb4, 0xbc, 0x3b, 0x95, 0x4f, 0xb2,
    0x8d, 0x7f, 0x7b, 0x18, 0xc5, 0xd6, 0x1a, 0x69};

// This computer's ID for this program, the one to write on a drive: 32
// lower-case hex digits. The system's machine ID (its 16 bytes) is the key of
// an HMAC-SHA256 over kApplicationId; the first 16 bytes of the code, marked
// as a version 4 UUID, are the ID. The machine ID cannot be told back from
// it, nor from the IDs other programs derive the same way with their own
// application IDs. Where the system keeps no machine ID, or cannot compute the
// code, the ID is host_app_machine_id() of the computer's name.
std::string app_machine_id();

// On Linux the machine id of the installed system (/etc/machine-id, else
// /var/lib/dbus/machine-id); on Windows the identity of the installation in
// the registry (MachineGuid). Where the system keeps none, the computer's
// name after "host:". The system keeps it confidential to the computer:
// never written anywhere, it only finds the state that earlier versions of
// the program kept under it.
std::string machine_id();

// 16 bytes in the form of app_machine_id(): the version 4 UUID marks set
// (the version nibble 4, the variant bits 10), then 32 lower-case hex digits.
std::string app_machine_id_text(std::array<std::uint8_t, 16> bytes);

// The ID made from the computer's name where no machine ID is to be had: the
// 128-bit FNV-1a hash of kApplicationId and then the name, in the form of
// app_machine_id(). A name is no secret, so a hash that merely spreads
// names apart serves; the application ID keeps it this program's own.
std::string host_app_machine_id(std::string_view host_name);

}  // namespace tav
