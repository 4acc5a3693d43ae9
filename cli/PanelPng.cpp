#include "cli/PanelPng.h"

#include "picture/Panel.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>

namespace norvale::cli {

bool WritePanelPngOffscreen(const std::string& path, const DateValue& date, bool northern,
                            std::uint32_t starSeed) {
    // The panel is drawn into an image, never shown, so the offscreen platform
    // is always enough. Choosing it before the application object exists also
    // keeps Qt from aborting when there is no display (or an unreachable one).
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    static char programName[] = "norvale-cli";
    char* argv[] = {programName, nullptr};
    int argc = 1;
    const QGuiApplication app(argc, argv);
    const QString fileName =
        QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
    return WritePanelPng(fileName, MakeMoonDay(date, DateValue::Now()), northern, starSeed);
}

} // namespace norvale::cli
