// Renders the main window under a colour scheme into a PNG, for the docs:
//
//   norvale_window_shot OUT.png [light|dark|grey]
//
// The window runs on Qt's offscreen platform with a fixed clock (2026-12-06
// 12:00 UTC, so the same stars every time) and a throw-away settings folder;
// the picture is its client area as QWidget::grab() draws it.
#include "app/NorvaleDlg.h"
#include "core/Clock.h"

#include <QApplication>
#include <QPalette>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A dark scheme as desktops give it: a #353535 face with white text.
QPalette DarkPalette() {
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text, QPalette::BrightText}) {
        dark.setColor(role, Qt::white);
    }
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    return dark;
}

// A mid-grey scheme whose shadow and dark colours lie close to its face
// (1.4:1 and 1.2:1 against #808080).
QPalette GreyPalette() {
    QPalette grey(QColor(0x80, 0x80, 0x80), QColor(0x80, 0x80, 0x80));
    grey.setColor(QPalette::Dark, QColor(0x70, 0x70, 0x70));
    grey.setColor(QPalette::Shadow, QColor(0x66, 0x66, 0x66));
    grey.setColor(QPalette::Highlight, QColor(0x20, 0x30, 0x60));
    return grey;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || (argc == 3 && std::strcmp(argv[2], "light") != 0 &&
                     std::strcmp(argv[2], "dark") != 0 && std::strcmp(argv[2], "grey") != 0)) {
        std::fprintf(stderr, "usage: %s OUT.png [light|dark|grey]\n", argv[0]);
        return 2;
    }
    QTemporaryDir config;
    ::setenv("XDG_CONFIG_HOME", qPrintable(config.path()), 1);
    ::setenv("TZ", "UTC", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    norvale::ClockSeam() = [] { return std::int64_t{1796558400}; };
    if (argc == 3 && std::strcmp(argv[2], "dark") == 0) {
        QApplication::setPalette(DarkPalette());
    }
    if (argc == 3 && std::strcmp(argv[2], "grey") == 0) {
        QApplication::setPalette(GreyPalette());
    }
    norvale::CNorvaleDlg window;
    window.Create();
    QApplication::processEvents();
    const bool saved = window.grab().save(QString::fromLocal8Bit(argv[1]));
    window.OnCancel();
    return saved ? 0 : 1;
}
