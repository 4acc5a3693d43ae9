#include "app/Startup.h"

#include "app/Headless.h"
#include "core/DayRange.h"
#include "core/Texts.h"
#include "version/Version.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

namespace norvale {

namespace {

// QApplication's options that take the next argument as their value.
constexpr std::array<std::string_view, 18> kQtOptionsWithValue = {
    "platform",      "platformpluginpath",
    "platformtheme", "plugin",
    "qmljsdebugger", "qwindowgeometry",
    "qwindowicon",   "qwindowtitle",
    "session",       "style",
    "stylesheet",    "display",
    "geometry",      "title",
    "name",          "visual",
    "ncols",         "cmap"};

// The option's name without its one or two dashes, or empty for a plain word.
std::string_view OptionName(std::string_view arg) {
    if (arg.size() < 2 || arg[0] != '-') {
        return {};
    }
    return arg.substr(arg[1] == '-' ? 2 : 1);
}

// The value of a Qt option given as "-name value", or nullptr.
const char* QtOptionValue(int argc, const char* const* argv, std::string_view name) {
    const char* value = nullptr;
    for (int i = 1; i + 1 < argc; ++i) {
        if (OptionName(argv[i]) == name) {
            value = argv[++i];
        }
    }
    return value;
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

QtMessageHandler g_previousHandler = nullptr;
std::string g_display;

// Qt's own lines may repeat what the environment held (a hostile DISPLAY):
// shown line by line, every byte printable, warnings as much as the fatal one.
void PrintPrintableLines(const QString& text) {
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        std::cerr << PrintableText(line.toStdString()) << '\n';
    }
}

void OnMessageAtStart(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        PrintPrintableLines(qFormatLogMessage(type, context, message));
        std::cerr.flush();
        return;
    }
    PrintPrintableLines(message);
    std::cerr << "norvale: cannot open " << g_display << "; today's Moon:\n";
    PrintToday(std::cout);
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(1);
}

} // namespace

ProgramRequest ParseProgramArguments(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return ProgramRequest::Help;
        }
        if (arg == "--version" || arg == "-V") {
            return ProgramRequest::Version;
        }
        for (const std::string_view name : kQtOptionsWithValue) {
            if (OptionName(arg) == name) {
                ++i; // its value is Qt's, whatever it looks like
                break;
            }
        }
    }
    return ProgramRequest::Run;
}

bool PlatformChosen(int argc, const char* const* argv) {
    return QtOptionValue(argc, argv, "platform") != nullptr ||
           QtOptionValue(argc, argv, "display") != nullptr || !Env("QT_QPA_PLATFORM").empty();
}

std::string ProgramHelpText() {
    return std::string(
               "Usage: norvale [Qt options]\n"
               "\n"
               "Norvale shows the Moon's phase for any calendar day in a small window: the\n"
               "Moon shaded for the day, whether the day is today, past or future, the\n"
               "Moon's age with the phase name and how much of the disk is lit. \"Prev\",\n"
               "\"Today\" and \"Next\" step through the days, the date picker spins through\n"
               "any day from ") +
           std::to_string(kFirstRangeDay.year) + " to " + std::to_string(kLastRangeDay.year) +
           ", and the \"Menu\" button (or a right click on the\n"
           "picture) switches the layout, the date layout and the hemisphere.\n"
           "\n"
           "The window remembers its place, layout, date layout and hemisphere in\n"
           "$XDG_CONFIG_HOME/Norvale/info.dat (by default ~/.config/Norvale/info.dat),\n"
           "14 bytes. Without a display it prints today's Moon in three lines instead.\n"
           "\n"
           "For scripts and status bars there is the command-line companion\n"
           "norvale-cli (see norvale-cli --help and man norvale-cli).\n"
           "\n"
           "Options:\n"
           "  -h, --help     print this help and exit\n"
           "  -V, --version  print the version and exit\n"
           "Qt's own options (-display, -platform, -session, -style, ...) are accepted.\n";
}

std::string ProgramVersionText() {
    return std::string("norvale ") + kVersion + "\n";
}

std::string DescribeDisplay(int argc, const char* const* argv) {
    const char* platformArg = QtOptionValue(argc, argv, "platform");
    const std::string platform = platformArg != nullptr ? platformArg : Env("QT_QPA_PLATFORM");
    const char* displayArg = QtOptionValue(argc, argv, "display");
    std::string display = displayArg != nullptr ? displayArg : "";
    if (display.empty()) {
        const bool wayland =
            platform.rfind("wayland", 0) == 0 || (platform.empty() && Env("DISPLAY").empty());
        display = wayland ? Env("WAYLAND_DISPLAY") : Env("DISPLAY");
    }
    std::string text = "the display \"" + PrintableText(display) + "\"";
    if (!platform.empty()) {
        text += " (Qt platform \"" + PrintableText(platform) + "\")";
    }
    return text;
}

CPlatformStartGuard::CPlatformStartGuard(int argc, const char* const* argv) {
    g_display = DescribeDisplay(argc, argv);
    g_previousHandler = qInstallMessageHandler(OnMessageAtStart);
}

CPlatformStartGuard::~CPlatformStartGuard() {
    qInstallMessageHandler(g_previousHandler);
    g_previousHandler = nullptr;
}

} // namespace norvale
