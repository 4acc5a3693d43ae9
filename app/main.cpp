#include "app/Headless.h"
#include "app/NorvaleApp.h"
#include "app/Startup.h"
#include "atomicfile/StandardStreams.h"
#include "panel/FaceCache.h"
#include "version/Version.h"

#include <QApplication>

#include <iostream>
#include <memory>

int main(int argc, char* argv[]) {
    // Before anything opens a file: a closed stdout or stderr is /dev/null,
    // never the next file, pipe or display connection the program opens.
    norvale::OpenClosedStandardDescriptors();
    // The picture's face is kept between runs (looked up at the first paint).
    norvale::UsePanelFaceCache();
    // Its own two options are answered before any display is opened.
    switch (norvale::ParseProgramArguments(argc, argv)) {
    case norvale::ProgramRequest::Help:
        std::cout << norvale::ProgramHelpText() << std::flush;
        return std::cout ? 0 : 1;
    case norvale::ProgramRequest::Version:
        std::cout << norvale::ProgramVersionText() << std::flush;
        return std::cout ? 0 : 1;
    case norvale::ProgramRequest::Run:
        break;
    }
    // Without a desktop QApplication would abort; print today's Moon instead.
    if (!norvale::HasDisplay() && !norvale::PlatformChosen(argc, argv)) {
        return norvale::PrintTodayWithoutDisplay(std::cout, std::cerr) ? 0 : 1;
    }
    // A display that cannot be opened is told and today's Moon printed, too.
    auto guard = std::make_unique<norvale::CPlatformStartGuard>(argc, argv);
    QApplication app(argc, argv);
    guard.reset();
    // The desktop finds the menu entry (its name and icon) for the window by
    // this id: the Wayland app_id is made from it.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(norvale::kAppId));
    norvale::CNorvaleApp theApp;
    theApp.InitInstance();
    // A quit signal ended the window: end the way that signal ends a program.
    theApp.RaiseQuitSignal();
    return 0;
}
