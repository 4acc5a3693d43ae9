// Prints the family the window's fonts take for "Tahoma" (over
// QFontDatabase) and the family the panel draws its text with (over
// fontconfig), one a line. A program of its own: both read fontconfig's
// configuration once a process, and the test runs it under configurations
// of its own.

#include "panel/PanelFace.h"
#include "ui/Fonts.h"

#include <QGuiApplication>

#include <iostream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const auto& panel = norvale::PanelFace();
    std::cout << norvale::ResolvedFontFace(QStringLiteral("Tahoma")).toStdString() << '\n'
              << (panel ? panel->family : "none") << '\n';
    return 0;
}
