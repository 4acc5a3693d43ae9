#include "app/Headless.h"
#include "app/NorvaleApp.h"

#include <QApplication>

#include <iostream>

int main(int argc, char* argv[]) {
    // Without a desktop QApplication would abort; print today's Moon instead.
    if (!norvale::HasDisplay()) {
        norvale::PrintTodayWithoutDisplay(std::cout, std::cerr);
        return 0;
    }
    QApplication app(argc, argv);
    norvale::CNorvaleApp theApp;
    theApp.InitInstance();
    return 0;
}
