#include "controls/SimpleLink.h"

#include "controls/Web.h"
#include "ui/Contrast.h"
#include "ui/Fonts.h"
#include "ui/Icons.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPalette>

#include <utility>

namespace norvale {

namespace {

// Screen readers see a link: its accessible name (the caption unless one was
// set), the tooltip as description, and a press action that does what a click
// does.
class SimpleLinkAccessible : public QAccessibleWidget {
public:
    explicit SimpleLinkAccessible(CSimpleLink* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return Link()->accessibleName().isEmpty() ? Link()->text() : Link()->accessibleName();
        case QAccessible::Description:
            return Link()->TooltipText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            Link()->Activate();
        }
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    CSimpleLink* Link() const { return static_cast<CSimpleLink*>(widget()); }
};

QAccessibleInterface* SimpleLinkAccessibleFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(CSimpleLink::staticMetaObject.className())) {
        return nullptr;
    }
    auto* link = qobject_cast<CSimpleLink*>(object);
    return link ? new SimpleLinkAccessible(link) : nullptr;
}

void InstallAccessibleFactoryOnce() {
    static const bool installed = [] {
        QAccessible::installFactory(SimpleLinkAccessibleFactory);
        return true;
    }();
    (void)installed;
}

} // namespace

CSimpleLink::CSimpleLink(QWidget* parent) : CSimpleLink(QString(), parent) {}

CSimpleLink::CSimpleLink(const QString& caption, QWidget* parent) : QLabel(parent) {
    InstallAccessibleFactoryOnce();
    // Captions are shown as they are, never read as markup.
    setTextFormat(Qt::PlainText);
    setText(caption);
    // Movement must arrive without a button held, as it does for the platform.
    setMouseTracking(true);
    m_hoverTimer.setInterval(kHoverPeriodMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CSimpleLink::OnTimer);
}

CSimpleLink::~CSimpleLink() = default;

void CSimpleLink::Attach() {
    m_bHover = false;
    TakeFaceColours();
    m_strTarget = text();
    m_strTooltip = QStringLiteral("Go to ") + m_strTarget;
    setToolTip(m_strTooltip);
    m_rcClient = rect();
    m_pFont = LinkFont(false);
    m_pHoverFont = LinkFont(true);
    m_hCursor = HandCursor();
    setCursor(m_hCursor);
    m_hoverTimer.stop();
    m_bAttached = true;
    ApplyLook();
}

void CSimpleLink::TakeFaceColours() {
    // The face is the palette's button colour, which the link's own palette
    // leaves to its window and the desktop's colour scheme.
    m_crBack = palette().color(QPalette::Button);
    m_crHoverBack = m_crBack;
    m_crText = ReadableOn(kLinkTextColor, m_crBack);
    m_crHoverText = m_crText;
}

bool CSimpleLink::event(QEvent* e) {
    const bool handled = QLabel::event(e);
    // A colour scheme changed while the program runs (a dark one chosen):
    // the link takes the new face and a text colour readable on it. The
    // change its own look makes is not taken again.
    if ((e->type() == QEvent::PaletteChange || e->type() == QEvent::ApplicationPaletteChange) &&
        m_bAttached && !m_bApplyingLook) {
        const QColor face = palette().color(QPalette::Button);
        if (face != m_crBack) {
            TakeFaceColours();
            ApplyLook();
        }
    }
    return handled;
}

void CSimpleLink::SetTarget(const QString& text) {
    m_strTarget = text;
}

void CSimpleLink::SetTooltipText(const QString& text) {
    m_strTooltip = text;
    setToolTip(m_strTooltip);
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void CSimpleLink::SetPointerSource(PointerSource source) {
    m_pointerSource = std::move(source);
}

QPoint CSimpleLink::PointerPos() const {
    return m_pointerSource ? m_pointerSource() : QCursor::pos();
}

void CSimpleLink::ApplyLook() {
    m_bApplyingLook = true;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, m_bHover ? m_crHoverText : m_crText);
    colours.setColor(QPalette::Window, m_bHover ? m_crHoverBack : m_crBack);
    setPalette(colours);
    setFont(m_bHover ? m_pHoverFont : m_pFont);
    m_bApplyingLook = false;
    repaint();
}

void CSimpleLink::OnMouseMove() {
    if (m_bHover) {
        return;
    }
    m_bHover = true;
    ApplyLook();
    m_hoverTimer.start();
}

void CSimpleLink::OnTimer() {
    if (!m_bHover) {
        return;
    }
    // QRect::contains on (0, 0, width, height) takes left and top as inside
    // and right and bottom as outside. The rectangle is the one taken at
    // attach, even if the label was resized since.
    if (m_rcClient.contains(mapFromGlobal(PointerPos()))) {
        return;
    }
    EndHover();
}

void CSimpleLink::EndHover() {
    m_bHover = false;
    m_hoverTimer.stop();
    ApplyLook();
}

void CSimpleLink::leaveEvent(QEvent* event) {
    // The pointer left the label. Wayland tells this but moves no pointer
    // position the timer could read once the pointer is outside the window.
    if (m_bHover) {
        EndHover();
    }
    QLabel::leaveEvent(event);
}

bool CSimpleLink::OpenTarget() {
    // Only web addresses leave the program: a day label's target is its bare
    // caption ("Next"), which must never be handed to the desktop as a file.
    return OpenUrl(QUrl(m_strTarget, QUrl::StrictMode));
}

void CSimpleLink::Activate() {
    emit clicked();
    OpenTarget();
}

void CSimpleLink::OnLButtonUp(const QPoint& pos) {
    // Qt delivers the release to the label that took the press; only a
    // release over the label counts, as when the platform sends it there.
    if (rect().contains(pos)) {
        OpenTarget();
    }
}

void CSimpleLink::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove();
    QLabel::mouseMoveEvent(event);
}

void CSimpleLink::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    QLabel::mousePressEvent(event);
}

void CSimpleLink::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click reports only the double click; the
    // base class would turn it into another press.
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
    event->accept();
}

void CSimpleLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonUp(event->position().toPoint());
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace norvale
