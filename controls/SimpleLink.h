#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTimer>

#include <functional>

namespace norvale {

// A label that looks and behaves like a web link: blue text, underlined while
// the pointer is over it, a pointing-hand cursor and its own tooltip. The blue
// is RGB(50, 50, 250) wherever it reads at 4.5:1 against the face colour (every
// light colour scheme), and the nearest blue that does elsewhere; it follows
// the colour scheme while the program runs.
//
// - clicked() is emitted on a left-button PRESS, doubleClicked() on the second
//   press of a double click (which then reports only the double click).
// - The hover ends at the first 100 ms tick that finds the pointer outside,
//   or at once when the pointer leaves the label (on Wayland the position
//   the tick reads stays put once the pointer has left the window).
// - The target is opened on a left-button RELEASE over the label, and only if
//   it is an http or https address (see OpenUrl in controls/Web.h).
//
// Create it with its caption and final geometry, then call Attach().
class CSimpleLink : public QLabel {
    Q_OBJECT

public:
    // Gives the pointer position in global (screen) coordinates.
    using PointerSource = std::function<QPoint()>;

    static constexpr int kHoverPeriodMs = 100;

    explicit CSimpleLink(QWidget* parent = nullptr);
    explicit CSimpleLink(const QString& caption, QWidget* parent = nullptr);
    ~CSimpleLink() override;

    // The attach steps: colours, target and tooltip from the caption, the
    // hover rectangle from the current size, fonts, cursor. Run once the
    // label has its caption and final size.
    void Attach();

    void SetTarget(const QString& text);
    void SetTooltipText(const QString& text);

    QString Target() const { return m_strTarget; }
    QString TooltipText() const { return m_strTooltip; }
    bool IsHovered() const { return m_bHover; }
    bool IsHoverTimerActive() const { return m_hoverTimer.isActive(); }
    // Changes only when the hover timer is started anew.
    int HoverTimerId() const { return m_hoverTimer.timerId(); }
    QRect HoverRect() const { return m_rcClient; }
    QColor TextColor() const { return m_bHover ? m_crHoverText : m_crText; }

    // Replaces where the hover test reads the pointer (default QCursor::pos);
    // an empty function restores the default.
    void SetPointerSource(PointerSource source);

    // The hover timer's tick: ends the hover once the pointer is outside the
    // rectangle taken at attach. Public so tests can tick deterministically.
    void OnTimer();

    // Opens the target if it is a web address; returns whether it did.
    bool OpenTarget();

    // What the accessibility press action does: the click notification, then
    // the target is opened.
    void Activate();

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void TakeFaceColours();
    void OnMouseMove();
    void EndHover();
    void OnLButtonUp(const QPoint& pos);
    void ApplyLook();
    QPoint PointerPos() const;

    bool m_bHover = false;
    bool m_bAttached = false;
    bool m_bApplyingLook = false;
    QColor m_crText;
    QColor m_crBack;
    QColor m_crHoverBack;
    QColor m_crHoverText;
    QString m_strTooltip;
    QString m_strTarget;
    QFont m_pFont;
    QFont m_pHoverFont;
    QCursor m_hCursor;
    QRect m_rcClient;
    QTimer m_hoverTimer;
    PointerSource m_pointerSource;
};

// Text colour of every link, normal and hovered, on a light face:
// RGB(50, 50, 250).
inline const QColor kLinkTextColor{50, 50, 250};

} // namespace norvale
