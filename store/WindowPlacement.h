#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The main window's placement as the setting MainForm keeps it: seven
// integers joined by commas, "200,flags,show,left,top,right,bottom", the
// rectangle being the window's normal (restored) frame rectangle.
struct WindowPlacement {
    static constexpr int kMark = 200;
    // Show commands of the stored text.
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimised = 2;
    static constexpr int kShowMaximised = 3;
    // Flag: a minimised window comes back maximised.
    static constexpr int kRestoreToMaximised = 2;

    int flags = 0;
    int showCommand = kShowNormal;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const WindowPlacement&) const = default;
};

// The placement to store for a window whose normal frame rectangle is at
// (left, top) with the given size: show command 1 and flags 0 for a normal
// window, 3 for a maximised one, 2 for a minimised one (with flags 2 when it
// will come back maximised). The rectangle is always the normal one.
WindowPlacement PlacementOf(int left, int top, int width, int height, bool minimised, bool maximised);

std::string PlacementText(const WindowPlacement& placement);

// The stored text, when it is one: exactly seven fields (a comma at the very
// end adds none), the first "200", fields 4 to 7 integers. Fields 2 and 3 are
// not used and may be anything; they read as 0 when they are not integers.
std::optional<WindowPlacement> ParsePlacementText(std::string_view text);

struct WindowPosition {
    int left = 0;
    int top = 0;
    bool centred = false;
};

// A window as the platform places it, in logical pixels: its outer size,
// frame included, and the height of its title bar (0 without a frame).
struct OuterWindow {
    int width = 0;
    int height = 0;
    int titleHeight = 0;
};

// The window of the given client size inside a frame whose margins the window
// manager gives in device pixels, scale of them to a logical pixel. The frame
// is placed to the device pixel; a part of a logical pixel counts as a whole
// one, so the frame stays on the screen.
OuterWindow WithFrame(int clientWidth, int clientHeight, int marginLeft, int marginTop, int marginRight,
                      int marginBottom, double scale);

// Where the window goes when it is first shown: the stored left and top, pulled
// back inside the right and bottom edges of the screen, the size kept. A
// negative position stays as long as part of the title bar (of a window with no
// frame, part of the window) is still on the screen, so the player can reach
// it; otherwise, and for a text that is absent, empty or not a placement text,
// the window is centred. Positions are those of the frame's top left corner.
WindowPosition RestoredPosition(std::string_view text, const OuterWindow& window, int screenWidth,
                                int screenHeight);

// The same for a window with no frame.
WindowPosition RestoredPosition(std::string_view text, int windowWidth, int windowHeight, int screenWidth,
                                int screenHeight);

// A position read from the settings, brought into the range in which window
// geometry can be computed in int: far beyond any screen either way.
int ClampedCoordinate(std::int64_t coordinate);
