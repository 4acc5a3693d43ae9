#include "picture/MoonImage.h"

#include "core/Moon.h"
#include "picture/Panel.h"
#include "picture/Textures.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <utility>

namespace norvale {

MoonImageHost::~MoonImageHost() = default;

CMoonImage::CMoonImage(QWidget* parent) : QWidget(parent) {
    // The paint covers every pixel: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CMoonImage::~CMoonImage() = default;

void CMoonImage::Attach(MoonImageHost* host) {
    m_geometry = ComputeGeometry(width(), height());
    // Decode the textures now rather than in the first paint.
    (void)BuiltInTextures(devicePixelRatioF() >= 1.5 ? 2 : 1);
    m_textFont = PanelFont();
    m_date = DateValue::Now();
    m_host = host;
    RefreshAccessibleText();
}

void CMoonImage::SetStarSeedSource(StarSeedSource source) {
    m_starSeedSource = std::move(source);
}

std::uint32_t CMoonImage::NextStarSeed() const {
    return m_starSeedSource ? m_starSeedSource() : CurrentStarSeed();
}

void CMoonImage::RefreshAccessibleText() {
    setAccessibleName(QString::fromStdString(DayCaption(m_date)));
    setAccessibleDescription(
        QString::fromStdString(AgeText(m_date) + ", " + IlluminationText(m_date)));
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
    // geometry of the attach, copied in one transfer. On a screen with two
    // device pixels per logical pixel it is drawn at that resolution.
    const int scale = devicePixelRatioF() >= 1.5 ? 2 : 1;
    QImage buffer(size() * scale, QImage::Format_RGB32);
    if (!buffer.isNull()) {
        RenderPanel(buffer, m_geometry, m_textFont, m_date, northern, NextStarSeed(), scale);
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
