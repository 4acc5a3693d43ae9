#pragma once

// The main window's title bar on Wayland, drawn by the program itself. Qt's
// own title bar there always offers a maximise button, whatever the window's
// flags, and a window of fixed size that a compositor maximises cannot take
// the size it is given: weston then ends the connection, and the program with
// it, without saving. This title bar has the window's title, a minimise and
// a close button only; the window may still be maximised by the compositor
// (a key of its own), which it survives and undoes at once.

class QWidget;

namespace norvale {

// The bar's height in pixels.
inline constexpr int kOwnTitleBarHeight = 24;

// On Wayland: drops Qt's title bar (the window becomes frameless), puts the
// program's own bar above the window's children (moved down by its height)
// and lets the window survive a maximised or full-screen state by going back
// to its own size. Elsewhere nothing changes. Call in the window's
// constructor, after its children exist and before it is shown.
void UseOwnTitleBarOnWayland(QWidget& window);

// Whether the platform is Wayland (positions cannot be read or set there).
bool OnWayland();

} // namespace norvale
