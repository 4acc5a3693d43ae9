#pragma once

#include "pixels/Pixels.h"
#include "settings/Settings.h"

#include <QMargins>
#include <QPoint>
#include <QRect>

class QWidget;

namespace norvale {

// Qt's rectangles as the window's outer rectangles (right and bottom
// exclusive), and back.
inline PixelRect FromQRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
inline QRect ToQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// Where the main window stands on the desktop. Every figure here is the outer
// one, frame included: the rectangle read back, the moves and sizes, the
// centring and the stored corner. On X11 the frame is known only once the
// window manager has mapped the window, so the placement of start-up is done
// again when it arrives. On Wayland positions can be neither read nor set:
// the desktop places the window, and the corner loaded at start-up is the one
// saved back.
//
// The placement keeps the window's outer rectangle and its full height (the
// outer height of the full layout). The stored corner lives in the window's
// settings, which the calls that read or set it are given.
class CWindowPlacement {
public:
    explicit CWindowPlacement(QWidget& window) : m_window(window) {}

    // Whether the desktop lets the program read and set window positions.
    void SetPositionsKnown(bool known) { m_bPositionsKnown = known; }
    bool PositionsKnown() const { return m_bPositionsKnown; }

    // The window rectangle in screen coordinates, frame included.
    PixelRect ReadWindowRect() const;
    // The full layout's outer height.
    int FullHeight() const { return m_nFullHeight; }

    // Reads the rectangle back and gives the window a new outer height at
    // the same corner and width.
    void Resize(int height);

    // Start-up: the frame the outer figures are computed with, the outer
    // rectangle, whose height is the full one, and the corner as loaded from
    // the settings.
    void Measure();
    void RememberLoadedCorner(const AppSettings& settings);
    // Start-up placement at the stored corner, or centred (the corner stored
    // anew) when no screen holds it, with the layout's height.
    void Place(int height, AppSettings& settings);
    // Stores the corner to save: the window's, or the loaded one where
    // positions cannot be read.
    void StorePosition(AppSettings& settings) const;
    // Adopts a frame that has appeared or changed since the last look; a
    // centred window is centred again, its corner stored anew.
    void AdoptFrameIfChanged(AppSettings& settings);

private:
    // Moves and sizes the frame; the client follows.
    void MoveWindow(int left, int top, int width, int height);
    QMargins FrameMargins() const;
    QPoint CentredCorner() const;

    QWidget& m_window;
    PixelRect m_rcWindow;
    int m_nFullHeight = 0;

    bool m_bPositionsKnown = true;
    int m_nLoadedLeft = 0;
    int m_nLoadedTop = 0;
    QMargins m_frameMargins;
    bool m_bCentred = false;
    bool m_bFrameAdopted = false;
};

} // namespace norvale
