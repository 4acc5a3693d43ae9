#include "app/WindowPlacement.h"

#include "app/DialogLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace norvale {

PixelRect CWindowPlacement::ReadWindowRect() const {
    return FromQRect(m_window.frameGeometry());
}

QMargins CWindowPlacement::FrameMargins() const {
    const QRect frame = m_window.frameGeometry();
    const QRect client = m_window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

void CWindowPlacement::MoveWindow(int left, int top, int width, int height) {
    const QMargins m = FrameMargins();
    m_window.setFixedSize(width - m.left() - m.right(), height - m.top() - m.bottom());
    if (!m_bPositionsKnown) {
        // Wayland: a compositor may maximise any window, and one that cannot
        // take the size it is given is disconnected (app/OwnTitleBar.h).
        m_window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (m_bPositionsKnown) {
        m_window.move(left, top); // a top-level window's position is its frame's
    }
    m_window.update();
}

void CWindowPlacement::Resize(int height) {
    m_rcWindow = ReadWindowRect();
    MoveWindow(m_rcWindow.left, m_rcWindow.top, m_rcWindow.Width(), height);
}

void CWindowPlacement::Measure() {
    m_frameMargins = FrameMargins();
    m_rcWindow = ReadWindowRect();
    m_nFullHeight = m_rcWindow.Height();
}

void CWindowPlacement::RememberLoadedCorner(const AppSettings& settings) {
    m_nLoadedLeft = settings.nLeft;
    m_nLoadedTop = settings.nTop;
}

QPoint CWindowPlacement::CentredCorner() const {
    const PixelRect d = FromQRect(QGuiApplication::primaryScreen()->geometry());
    return QPoint(d.left + d.Width() / 2 - m_rcWindow.Width() / 2,
                  d.top + d.Height() / 2 - m_rcWindow.Height() / 2);
}

void CWindowPlacement::Place(int height, AppSettings& settings) {
    if (!m_bPositionsKnown) {
        // The desktop places the window; only its size is ours.
        MoveWindow(m_rcWindow.left, m_rcWindow.top, m_rcWindow.Width(), height);
        return;
    }
    const PixelRect desktop = FromQRect(QGuiApplication::primaryScreen()->geometry());
    m_bCentred = !desktop.Contains(settings.nLeft, settings.nTop);
    if (m_bCentred) {
        const QPoint corner = CentredCorner();
        settings.nLeft = corner.x();
        settings.nTop = corner.y();
    }
    MoveWindow(settings.nLeft, settings.nTop, m_rcWindow.Width(), height);
}

void CWindowPlacement::StorePosition(AppSettings& settings) const {
    if (m_bPositionsKnown) {
        const PixelRect rect = ReadWindowRect();
        settings.nLeft = rect.left;
        settings.nTop = rect.top;
    } else {
        settings.nLeft = m_nLoadedLeft;
        settings.nTop = m_nLoadedTop;
    }
}

// When the frame arrives, the outer figures grow by it and the start-up
// placement is done again with the real outer size; the client area keeps
// its size.
void CWindowPlacement::AdoptFrameIfChanged(AppSettings& settings) {
    const QMargins margins = FrameMargins();
    if (margins == m_frameMargins) {
        return;
    }
    const int grow =
        (margins.top() + margins.bottom()) - (m_frameMargins.top() + m_frameMargins.bottom());
    const int widen =
        (margins.left() + margins.right()) - (m_frameMargins.left() + m_frameMargins.right());
    m_frameMargins = margins;
    m_nFullHeight += grow;
    if (!m_bFrameAdopted && m_bPositionsKnown) {
        m_bFrameAdopted = true;
        if (m_bCentred) {
            // The centring of start-up: the outer width, and the height the
            // window had after its start-up shortening.
            m_rcWindow = {0, 0, m_rcWindow.Width() + widen, m_nFullHeight - kStartupShortening};
            const QPoint corner = CentredCorner();
            settings.nLeft = corner.x();
            settings.nTop = corner.y();
        }
        m_window.move(settings.nLeft, settings.nTop);
    }
    m_rcWindow = ReadWindowRect();
}

} // namespace norvale
