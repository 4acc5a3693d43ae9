#include "app/OwnTitleBar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace norvale {

namespace {

constexpr int kButtonSize = 16;
constexpr int kButtonGap = 6;
constexpr int kRightMargin = 6;

enum class TitleButton { None, Minimise, Close };

class CTitleBar : public QWidget {
public:
    explicit CTitleBar(QWidget& window) : QWidget(&window), m_window(window) {
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, window.width(), kOwnTitleBarHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window).darker(112));
        const QColor ink = palette().color(QPalette::WindowText);
        p.setPen(ink);
        QFont font = p.font();
        font.setBold(true);
        p.setFont(font);
        const QRect text(8, 0, ButtonRect(TitleButton::Minimise).left() - 12, height());
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, m_window.windowTitle());
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ink, 2));
        const QRectF minimise = QRectF(ButtonRect(TitleButton::Minimise)).adjusted(4, 4, -4, -4);
        p.drawLine(minimise.bottomLeft(), minimise.bottomRight());
        const QRectF close = QRectF(ButtonRect(TitleButton::Close)).adjusted(4, 4, -4, -4);
        p.drawLine(close.topLeft(), close.bottomRight());
        p.drawLine(close.bottomLeft(), close.topRight());
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            return;
        }
        m_pressed = ButtonAt(event->position().toPoint());
        if (m_pressed == TitleButton::None && m_window.windowHandle() != nullptr) {
            m_window.windowHandle()->startSystemMove();
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        const TitleButton pressed = std::exchange(m_pressed, TitleButton::None);
        if (event->button() != Qt::LeftButton || pressed == TitleButton::None ||
            ButtonAt(event->position().toPoint()) != pressed) {
            return;
        }
        if (pressed == TitleButton::Close) {
            m_window.close(); // as the compositor's close request: saved, then ended
        } else {
            m_window.showMinimized();
        }
    }

private:
    QRect ButtonRect(TitleButton button) const {
        const int right = width() - kRightMargin;
        const int top = (height() - kButtonSize) / 2;
        const int left = button == TitleButton::Close ? right - kButtonSize
                                                      : right - 2 * kButtonSize - kButtonGap;
        return QRect(left, top, kButtonSize, kButtonSize);
    }

    TitleButton ButtonAt(QPoint point) const {
        for (const TitleButton button : {TitleButton::Minimise, TitleButton::Close}) {
            if (ButtonRect(button).contains(point)) {
                return button;
            }
        }
        return TitleButton::None;
    }

    QWidget& m_window;
    TitleButton m_pressed = TitleButton::None;
};

// The window keeps its own size: a maximised or full-screen state the
// compositor gives it is taken (a fixed size could not be, and the
// compositor would end the connection) and left again at once, and any
// other size the compositor asks for is answered with the window's own.
class CKeepOwnSize : public QObject {
public:
    explicit CKeepOwnSize(QWidget& window) : QObject(&window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_window) {
            return false;
        }
        const bool enlarged =
            (m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
        if (event->type() == QEvent::WindowStateChange && enlarged) {
            QTimer::singleShot(0, &m_window, [this] { m_window.showNormal(); });
        } else if (event->type() == QEvent::Resize && !enlarged &&
                   m_window.size() != m_window.minimumSize()) {
            QTimer::singleShot(0, &m_window, [this] {
                if ((m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) == 0) {
                    m_window.resize(m_window.minimumSize());
                }
            });
        }
        return false;
    }

private:
    QWidget& m_window;
};

} // namespace

bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void UseOwnTitleBarOnWayland(QWidget& window) {
    if (!OnWayland()) {
        return;
    }
    // Frameless alone: with any button hint Qt puts the frame back.
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    for (QObject* child : window.children()) {
        if (auto* widget = qobject_cast<QWidget*>(child);
            widget != nullptr && !widget->isWindow()) {
            widget->move(widget->pos() + QPoint(0, kOwnTitleBarHeight));
        }
    }
    window.setFixedSize(window.width(), window.height() + kOwnTitleBarHeight);
    new CTitleBar(window);
    window.installEventFilter(new CKeepOwnSize(window));
}

} // namespace norvale
