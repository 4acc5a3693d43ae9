#include "picture/Panel.h"

#include "shading/DeviceScale.h"

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

} // namespace

void RenderPanel(QImage& image, const PictureGeometry& geometry, const MoonDay& day, bool northern,
                 std::uint32_t starSeed, double scale) {
    if (image.isNull()) {
        return;
    }
    scale = ClampDeviceScale(scale);
    if (image.format() != QImage::Format_RGB32) {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    DrawPanel(BufferOf(image), geometry, day, northern, starSeed, scale);
    image.setDevicePixelRatio(scale);
}

QImage RenderPanelImage(int w, int h, const MoonDay& day, bool northern, std::uint32_t starSeed,
                        double scale) {
    scale = ClampDeviceScale(scale);
    QImage image(DeviceLength(w, scale), DeviceLength(h, scale), QImage::Format_RGB32);
    RenderPanel(image, ComputeGeometry(w, h), day, northern, starSeed, scale);
    return image;
}

QImage RenderPanelImage(int w, int h, const DateValue& date, bool northern, std::uint32_t starSeed,
                        double scale) {
    return RenderPanelImage(w, h, MakeMoonDay(date, DateValue::Now()), northern, starSeed, scale);
}

} // namespace norvale
