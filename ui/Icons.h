#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace norvale {

// Paths of the program's own images in the norvale_resources target.
inline constexpr char kIconPath[] = ":/norvale/icon.png";        // icon 128, 32 x 32
inline constexpr char kIcon48Path[] = ":/norvale/icon-48.png";   // 48 x 48
inline constexpr char kIcon128Path[] = ":/norvale/icon-128.png"; // 128 x 128
inline constexpr char kIconSvgPath[] = ":/norvale/norvale.svg";  // scalable source
inline constexpr char kHandCursorPath[] = ":/norvale/hand.png";  // cursor 129, 32 x 32

// The application icon with its three sizes, for window and taskbar.
QIcon AppIcon();

// The 32 x 32 icon shown by the About box.
QPixmap AppIconPixmap();

// Cursor 129: the pointing hand with its hot spot at (0, 0). Falls back to
// Qt's pointing hand if the resource is missing from the program.
QCursor HandCursor();

} // namespace norvale
