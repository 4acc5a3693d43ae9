#include "picture/Panel.h"

#include "shading/Textures.h"
#include "ui/Fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <string>

namespace norvale {

namespace {

PixelBuffer BufferOf(QImage& image) {
    PixelBuffer buffer;
    buffer.pixels = reinterpret_cast<std::uint32_t*>(image.bits());
    buffer.width = image.width();
    buffer.height = image.height();
    buffer.stride = static_cast<std::int32_t>(image.bytesPerLine() / 4);
    return buffer;
}

// Draws text with its top-left corner at (x, top) on an opaque black box as
// wide as its advance and as high as the font's ascent plus descent.
void DrawTopAlignedText(QPainter& painter, const QFontMetrics& metrics, int x, int top,
                        const std::string& text) {
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const int width = metrics.horizontalAdvance(line);
    painter.fillRect(QRect(x, top, width, metrics.ascent() + metrics.descent()), Qt::black);
    painter.drawText(QPoint(x, top + metrics.ascent()), line);
}

} // namespace

QFont PanelFont() {
    return CreateStyledFont(0, -10, QStringLiteral("Tahoma"));
}

void RenderPanel(QImage& image, const PictureGeometry& geometry, const QFont& font,
                 const MoonDay& day, bool northern, std::uint32_t starSeed, int scale) {
    if (image.isNull()) {
        return;
    }
    scale = scale == 2 ? 2 : 1;
    if (image.format() != QImage::Format_RGB32) {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    image.setDevicePixelRatio(1.0);
    image.fill(Qt::black);
    const PixelBuffer buffer = BufferOf(image);
    DrawStarsScaled(buffer, geometry, PanelStarCount, starSeed, scale);

    PictureGeometry working = ScaledGeometry(geometry, scale);
    DrawMoon(buffer, working, day.phaseDay, northern, BuiltInTextures(scale));

    // The texts are placed in logical pixels; the painter maps them onto the
    // device pixels.
    image.setDevicePixelRatio(scale);
    const int h = geometry.m_clientRect.Height();
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font, &image);
    DrawTopAlignedText(painter, metrics, TextLeft, h - CaptionRowFromBottom, day.caption);
    DrawTopAlignedText(painter, metrics, TextLeft, h - AgeRowFromBottom, day.ageText);
    DrawTopAlignedText(painter, metrics, TextLeft, h - IlluminationRowFromBottom,
                       day.illuminationText);
}

QImage RenderPanelImage(int w, int h, const MoonDay& day, bool northern, std::uint32_t starSeed,
                        int scale) {
    scale = scale == 2 ? 2 : 1;
    QImage image(w * scale, h * scale, QImage::Format_RGB32);
    RenderPanel(image, ComputeGeometry(w, h), PanelFont(), day, northern, starSeed, scale);
    return image;
}

void RenderPanel(QImage& image, const DateValue& date, bool northern, std::uint32_t starSeed) {
    RenderPanel(image, ComputeGeometry(image.width(), image.height()), PanelFont(),
                MakeMoonDay(date, DateValue::Now()), northern, starSeed);
}

QImage RenderPanelImage(int w, int h, const DateValue& date, bool northern, std::uint32_t starSeed,
                        int scale) {
    return RenderPanelImage(w, h, MakeMoonDay(date, DateValue::Now()), northern, starSeed, scale);
}

bool WritePanelPng(const QString& path, const MoonDay& day, bool northern, std::uint32_t starSeed) {
    const QImage image = RenderPanelImage(PanelWidth, PanelHeight, day, northern, starSeed);
    return image.save(path, "PNG");
}

} // namespace norvale
