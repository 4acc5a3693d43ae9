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
// The placement works on the window's own state (its outer rectangle, full
// height and settings), which it is given by reference.
class CWindowPlacement {
public:
    CWindowPlacement(QWidget& window, PixelRect& rcWindow, int& nFullHeight, AppSettings& settings);

    // Whether the desktop lets the program read and set window positions.
    void SetPositionsKnown(bool known) { m_bPositionsKnown = known; }
    bool PositionsKnown() const { return m_bPositionsKnown; }

    // The window rectangle in screen coordinates, frame included.
    PixelRect ReadWindowRect() const;
    // Moves and sizes the frame; the client follows.
    void MoveWindow(int left, int top, int width, int height);

    // Start-up: the frame the outer figures are computed with, and the corner
    // as loaded from the settings.
    void RememberFrame() { m_frameMargins = FrameMargins(); }
    void RememberLoadedCorner();
    // Start-up placement at the stored corner, or centred when no screen
    // holds it, with the layout's height.
    void Place(int height);
    // The corner to save: the window's, or the loaded one where positions
    // cannot be read.
    void StorePosition();
    // Adopts a frame that has appeared or changed since the last look.
    void AdoptFrameIfChanged();

private:
    QMargins FrameMargins() const;
    QPoint CentredCorner() const;

    QWidget& m_window;
    PixelRect& m_rcWindow;
    int& m_nFullHeight;
    AppSettings& m_settings;

    bool m_bPositionsKnown = true;
    int m_nLoadedLeft = 0;
    int m_nLoadedTop = 0;
    QMargins m_frameMargins;
    bool m_bCentred = false;
    bool m_bFrameAdopted = false;
};

} // namespace norvale
