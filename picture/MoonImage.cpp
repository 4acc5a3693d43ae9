#include "picture/MoonImage.h"

#include "core/Clock.h"
#include "panel/PanelText.h"
#include "picture/Panel.h"
#include "place/PlaceSky.h"
#include "shading/DeviceScale.h"
#include "skytext/SkyText.h"
#include "ui/Contrast.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <bit>
#include <cstdint>
#include <iostream>
#include <utility>

namespace norvale {

MoonImageHost::~MoonImageHost() = default;

namespace {

// What screen readers see of the picture: an image named by its three lines,
// described by the true sky (the tooltip's text, made only when it is read),
// with the actions of its keys: the pop-up menu and the tooltip.
class CMoonImageAccessible : public QAccessibleWidget {
public:
    explicit CMoonImageAccessible(CMoonImage* image)
        : QAccessibleWidget(image, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description || t == QAccessible::Help) {
            return QString::fromStdString(Image()->SkyText());
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction() << ToolTipAction();
    }

    void doAction(const QString& actionName) override {
        if (actionName == showMenuAction()) {
            Image()->OpenMenuHere();
        } else if (actionName == ToolTipAction()) {
            Image()->ShowToolTipHere();
        } else {
            QAccessibleWidget::doAction(actionName);
        }
    }

    QStringList keyBindingsForAction(const QString& actionName) const override {
        if (actionName == showMenuAction()) {
            return {QStringLiteral("Shift+F10")};
        }
        if (actionName == ToolTipAction()) {
            return {QStringLiteral("Ctrl+F1")};
        }
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }

    static QString ToolTipAction() { return QStringLiteral("ShowToolTip"); }

private:
    CMoonImage* Image() const { return static_cast<CMoonImage*>(widget()); }
};

QAccessibleInterface* MoonImageAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(CMoonImage::staticMetaObject.className())) {
        if (auto* image = qobject_cast<CMoonImage*>(object)) {
            return new CMoonImageAccessible(image);
        }
    }
    return nullptr;
}

} // namespace

CMoonImage::CMoonImage(QWidget* parent) : QWidget(parent) {
    // The paint covers every pixel: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A tab stop (the window puts it last); a click leaves the focus where
    // it was.
    setFocusPolicy(Qt::TabFocus);
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(MoonImageAccessible);
        return true;
    }();
    (void)factoryInstalled;
}

CMoonImage::~CMoonImage() = default;

void CMoonImage::Attach(MoonImageHost* host) {
    m_geometry = ComputeGeometry(width(), height());
    // Decode (or resample) the textures and open the text face now rather
    // than in the first paint.
    PreparePanel(m_geometry, devicePixelRatioF());
    // The picture is still drawn; that its lines are missing is said once.
    static bool told = false;
    if (!told && !PanelTextAvailable()) {
        told = true;
        std::cerr << "norvale: no usable font was found for the Moon picture's text\n";
    }
    m_date = DateValue::Now();
    m_host = host;
    RefreshAccessibleText();
}

void CMoonImage::SetStarSeedSource(StarSeedSource source) {
    m_starSeedSource = std::move(source);
}

std::uint32_t CMoonImage::NextStarSeed() const {
    return m_starSeedSource ? m_starSeedSource() : StarSeedOfSecond(CurrentUnixSeconds());
}

namespace {

// The same stored value, bit for bit (NaN included), and the same status.
bool SameValue(const DateValue& a, const DateValue& b) {
    return a.status == b.status &&
           std::bit_cast<std::uint64_t>(a.value) == std::bit_cast<std::uint64_t>(b.value);
}

bool SameCalendarDay(const DateValue& a, const DateValue& b) {
    SystemTime fa;
    SystemTime fb;
    const bool ka = a.ToFields(fa);
    const bool kb = b.ToFields(fb);
    if (!ka || !kb) {
        return ka == kb;
    }
    return fa.wYear == fb.wYear && fa.wMonth == fb.wMonth && fa.wDay == fb.wDay;
}

} // namespace

const MoonDay& CMoonImage::ShownDay() {
    const DateValue today = DateValue::Now();
    if (!m_shownDay || !SameValue(m_shownDay->date, m_date) ||
        !SameCalendarDay(m_shownToday, today)) {
        m_shownDay = MakeMoonDay(m_date, today);
        m_shownToday = today;
    }
    return *m_shownDay;
}

QString CMoonImage::AccessibleName() {
    const MoonDay& day = ShownDay();
    return QString::fromStdString(day.caption + ", " + day.ageText + ", " + day.illuminationText);
}

void CMoonImage::RefreshAccessibleText() {
    // The name change of the picture is what a screen reader presents when
    // the picture has the focus; each change is sent once.
    const QString name = AccessibleName();
    if (accessibleName() != name) {
        setAccessibleName(name);
        emit AccessibleNameChanged(name);
    }
    if (!m_describedDate || !SameValue(*m_describedDate, m_date)) {
        m_describedDate = m_date;
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
    // A tooltip still showing the sky of a day no longer shown goes (the next
    // hover shows the new day's).
    if (m_skyText && !SameValue(m_skyText->date, m_date) && QToolTip::isVisible() &&
        QToolTip::text() == QString::fromStdString(m_skyText->text)) {
        QToolTip::hideText();
    }
}

const std::string& CMoonImage::SkyText() {
    if (!m_skyText || !SameValue(m_skyText->date, m_date)) {
        m_skyText = SkyTextOfDay{m_date, skytext::TrueSkyText(m_date) + PlaceSkyText(m_date)};
    }
    return m_skyText->text;
}

bool CMoonImage::event(QEvent* event) {
    // Any key that reaches the picture (a window shortcut asks it first)
    // shows that the keyboard is in use: from now on the focus is marked.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        !m_bKeyboardUsed) {
        m_bKeyboardUsed = true;
        update();
    }
    if (event->type() == QEvent::ToolTip) {
        OnToolTip(static_cast<QHelpEvent*>(event));
        return true;
    }
    return QWidget::event(event);
}

void CMoonImage::OnToolTip(QHelpEvent* event) {
    QToolTip::showText(event->globalPos(), QString::fromStdString(SkyText()), this);
}

void CMoonImage::ShowToolTipHere() {
    // Where a hover near the disk's centre would show it.
    QToolTip::showText(mapToGlobal(QPoint(width() / 2, height() / 3)),
                       QString::fromStdString(SkyText()), this);
}

void CMoonImage::OpenMenuHere() {
    if (m_host != nullptr) {
        m_host->OpenMenuAt(mapToGlobal(QPoint(0, 0)));
    }
}

QColor CMoonImage::FocusMarkColour() const {
    return ReadableOn(palette().color(QPalette::Highlight), Qt::black, kMinimumControlContrast);
}

bool CMoonImage::ShowsFocusMark() const {
    return hasFocus() && (m_bKeyboardUsed || window()->testAttribute(Qt::WA_KeyboardFocusChange));
}

namespace {

// Ctrl+F1 shows the tooltip, as in GTK programs. It is shown on the release
// of F1: a tooltip goes at any key that is not a modifier, the release too.
bool IsToolTipKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_F1 &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

} // namespace

void CMoonImage::keyPressEvent(QKeyEvent* event) {
    if (IsToolTipKey(event)) {
        m_bToolTipKeyDown = true;
        event->accept();
        return;
    }
    // F1, Enter, Escape and the rest go on to the window.
    QWidget::keyPressEvent(event);
}

void CMoonImage::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && m_bToolTipKeyDown && !event->isAutoRepeat()) {
        m_bToolTipKeyDown = false;
        ShowToolTipHere();
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CMoonImage::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason ||
        event->reason() == Qt::ShortcutFocusReason) {
        m_bKeyboardUsed = true;
    }
    QWidget::focusInEvent(event);
    update();
}

void CMoonImage::focusOutEvent(QFocusEvent* event) {
    m_bToolTipKeyDown = false;
    QWidget::focusOutEvent(event);
    update();
}

void CMoonImage::paintEvent(QPaintEvent* /*event*/) {
    OnPaint();
}

void CMoonImage::OnPaint() {
    QPainter painter(this);
    if (m_host == nullptr) {
        painter.fillRect(rect(), Qt::black); // not attached yet: a black panel
        return;
    }
    const bool northern = m_host->IsNorthern();
    // The off-screen buffer of this paint: the whole widget, drawn with the
    // geometry of the attach, copied in one transfer. It is drawn at the
    // screen's own resolution (1.25, 1.5, 2 ... device pixels per logical
    // pixel), so the copy moves pixels one to one and never stretches them.
    const double scale = ClampDeviceScale(devicePixelRatioF());
    QImage buffer(DeviceLength(width(), scale), DeviceLength(height(), scale),
                  QImage::Format_RGB32);
    if (!buffer.isNull()) {
        RenderPanel(buffer, m_geometry, ShownDay(), northern, NextStarSeed(), scale);
        painter.drawImage(QPoint(0, 0), buffer);
    }
    if (ShowsFocusMark()) {
        // A ring two pixels wide along the panel's edge, over the stars; not
        // drawn at all while the picture has no focus.
        constexpr int kRing = 2;
        const QColor colour = FocusMarkColour();
        painter.fillRect(0, 0, width(), kRing, colour);
        painter.fillRect(0, height() - kRing, width(), kRing, colour);
        painter.fillRect(0, 0, kRing, height(), colour);
        painter.fillRect(width() - kRing, 0, kRing, height(), colour);
    }
    RefreshAccessibleText();
}

void CMoonImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonDown(event);
        return;
    }
    QWidget::mousePressEvent(event);
}

void CMoonImage::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonDblClk(event);
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void CMoonImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        OnRButtonUp(event);
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void CMoonImage::OnLButtonDown(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
}

void CMoonImage::OnLButtonDblClk(QMouseEvent* event) {
    if (m_host != nullptr) {
        m_host->OnToday();
    }
    QWidget::mouseDoubleClickEvent(event);
}

void CMoonImage::OnRButtonUp(QMouseEvent* event) {
    if (m_host != nullptr) {
        m_host->OpenMenuAt(mapToGlobal(event->position().toPoint()));
    }
    QWidget::mouseReleaseEvent(event);
}

} // namespace norvale
