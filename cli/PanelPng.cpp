#include "cli/PanelPng.h"

#include "picture/Panel.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>

namespace norvale::cli {

std::optional<std::vector<std::uint8_t>> EncodePanelPng(const MoonDay& day, bool northern,
                                                        std::uint32_t starSeed, int scale) {
    // The panel is drawn into an image, never shown, so the offscreen platform
    // is always enough. Choosing it before the application object exists also
    // keeps Qt from aborting when there is no display (or an unreachable one).
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    static char programName[] = "norvale-cli";
    char* argv[] = {programName, nullptr};
    int argc = 1;
    const QGuiApplication app(argc, argv);
    const QImage image = RenderPanelImage(PanelWidth, PanelHeight, day, northern, starSeed, scale);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace norvale::cli
