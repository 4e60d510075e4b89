#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

class QWidget;

// The frame the window manager puts around a top-level window, in device
// pixels, known also before the window is first shown: on X11 the window
// manager is asked for it (_NET_REQUEST_FRAME_EXTENTS). A window manager that
// does not answer (KWin) is taken to frame it as it framed the program's last
// window. None without a window manager, and where the platform does not tell.
QMargins FrameMargins(QWidget* window);
// Sends the questions FrameMargins asks of every window's first placement to
// the X server now, for their answers to be there when it is placed.
void AskFrameQuestionsAhead();

// Where the window's inner top left corner is on the screen, in device pixels,
// as the X server has it (Qt's logical position is rounded at a scale of 2).
std::optional<QPoint> ScreenPosition(QWidget* window);

// Calls `framed` once with the frame the window manager puts around the
// window when it takes it over after its next show, should that differ from
// `assumed`. Only X11 tells; elsewhere nothing is called.
void WhenFramed(QWidget* window, QMargins assumed, std::function<void(QMargins)> framed);

// Whether the program may place its top-level windows itself. Wayland leaves
// that to the compositor, which places each window by its transient parent.
bool CanPlaceWindows();

// Puts the window's frame (its top left corner given) where it belongs, also
// before its first show, when the frame is not there yet. A window resized
// after its native window was made needs its frame position again once shown.
void MoveFrameTo(QWidget* window, QPoint topLeft);

// Where a window of the given outer size goes to be centred over `over`,
// inside the screen as far as it fits.
QPoint CentredOver(QSize window, QRect over, QRect screen);

// Where a window of the given outer size goes beside `beside` on the screen:
// right of it, else left of it, where there is room, top edges level, made
// narrower down to minimumWidth and lower to fit; otherwise wherever on the
// screen it covers least of `keepInView`. Gives the window's outer rectangle.
QRect BesidePlace(QSize window, int minimumWidth, QRect beside, QRect keepInView, QRect screen);
