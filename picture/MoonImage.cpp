#include "picture/MoonImage.h"

#include "core/Clock.h"
#include "panel/PanelText.h"
#include "picture/Panel.h"
#include "place/PlaceSky.h"
#include "shading/DeviceScale.h"
#include "skytext/SkyText.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
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

// What screen readers see of the picture: Qt's own interface of a widget, but
// the help text is the true sky, made only when it is asked for.
class CMoonImageAccessible : public QAccessibleWidget {
public:
    explicit CMoonImageAccessible(CMoonImage* image) : QAccessibleWidget(image) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Help) {
            return QString::fromStdString(static_cast<CMoonImage*>(widget())->SkyText());
        }
        return QAccessibleWidget::text(t);
    }
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

void CMoonImage::RefreshAccessibleText() {
    const MoonDay& day = ShownDay();
    setAccessibleName(QString::fromStdString(day.caption));
    setAccessibleDescription(QString::fromStdString(day.ageText + ", " + day.illuminationText));
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
    if (event->type() == QEvent::ToolTip) {
        OnToolTip(static_cast<QHelpEvent*>(event));
        return true;
    }
    return QWidget::event(event);
}

void CMoonImage::OnToolTip(QHelpEvent* event) {
    QToolTip::showText(event->globalPos(), QString::fromStdString(SkyText()), this);
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
