#pragma once

class QStyle;
class QWidget;

// Buttons of the brushed-metal world, the same on every desktop: a tool-bar
// button lies flat until the pointer is over it, then rises a little; pressed
// or switched on it sinks in. A push button is a small plate of the strip's
// steel with a brass rim when it has the keys. One style for the application,
// set on each button (a style set on a widget does not reach its children).
QStyle* MetalStyle();
void UseMetalStyle(QWidget* widget);
