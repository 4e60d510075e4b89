#pragma once

// Whether nothing could answer for a D-Bus session bus here: no address in
// the environment, no socket of the user's bus in the runtime folder, and no
// dbus-launch on the path that libdbus would start one with. Arguments as
// getenv gives them (null when unset).
bool NoSessionBusCanExist(const char* address, const char* runtimeFolder, const char* path);
