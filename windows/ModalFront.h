#pragma once

class QObject;

// On Wayland a click on a window that a modal dialog blocks gives that window
// the keyboard, and some compositors raise it over the dialog. Qt 6.4 cannot
// take either back: activation needs a token from the compositor, and sway
// turns an activation into an urgency hint by default. A dialog that appears
// anew gets the keyboard and the top on every compositor, so the dialog's
// surface is mapped again whenever a window it blocks is activated. X11 is
// left alone: the window manager keeps a dialog over its parent there.
// Watches the whole application for as long as owner lives.
void KeepModalInFront(QObject* owner);
