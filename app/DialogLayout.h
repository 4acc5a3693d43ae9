#pragma once

#include "app/Commands.h"

#include <QRect>
#include <QSize>

#include <span>

namespace norvale {

// The kinds of item in the main window's layout.
enum class ItemKind { Link, DatePicker, PictureFrame, PushButton, HiddenButton };

// One item of the main window's layout, in dialog units.
struct DialogItem {
    int id;
    ItemKind kind;
    const char* text;
    int x, y, w, h;
};

// The main window's layout (template 102): the items in template order, which
// is also the tab and stacking order.
std::span<const DialogItem> MainWindowItems();
const DialogItem& MainWindowItem(int id);

// The client area of the full layout in dialog units.
inline constexpr int kMainClientUnitsW = 99;
inline constexpr int kMainClientUnitsH = 135;

// Pixel rectangle of an item and size of the full client area.
QRect ItemPixelRect(const DialogItem& item);
QSize MainClientPixelSize();

// Pixel offsets that stay pixels whatever the dialog units are.
inline constexpr int kCompactHeightCut = 30;  // the compact layout is this much shorter
inline constexpr int kToggleCompactRise = 29; // the compact toggle box lies this much higher
inline constexpr int kStartupShortening = 50; // the start-up shortening before the replay
inline constexpr int kToggleBoxW = 8;
inline constexpr int kToggleBoxH = 4;
inline constexpr int kToggleBandAbove = 5; // the repainted band starts this far above the box

} // namespace norvale
