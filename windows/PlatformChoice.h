#pragma once

// The Qt platform the game asks for, given the environment's QT_QPA_PLATFORM,
// XDG_CURRENT_DESKTOP, WAYLAND_DISPLAY and DISPLAY (null when unset); null
// leaves the choice to Qt. On GNOME's Wayland session the game runs through
// XWayland: mutter centres no Qt dialog over its window there and draws no
// title bar for Qt, while on X11 it does both. The player's own choice wins.
const char* ChosenPlatform(const char* chosen, const char* desktop, const char* waylandDisplay,
                           const char* x11Display);
