// Runs one of the controls' test classes, chosen by the first argument (its
// class name); the remaining arguments go to Qt Test.

#include "controls/Web.h"

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <memory>

std::unique_ptr<QObject> MakeWebTest();
std::unique_ptr<QObject> MakeSimpleLinkTest();
std::unique_ptr<QObject> MakeAboutDlgTest();
std::unique_ptr<QObject> MakeHelpWindowTest();

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // No test may reach a browser or the help window: anything that escapes
    // a recorder fails. Tests start with no web address configured, whatever
    // the build was configured with.
    norvale::UrlOpenerSeam() = [](const QUrl& url) {
        std::fprintf(stderr, "unexpected open of %s\n", qPrintable(url.toString()));
        std::abort();
    };
    norvale::HelpOpenerSeam() = [](const QString& section) {
        std::fprintf(stderr, "unexpected help section \"%s\"\n", qPrintable(section));
        std::abort();
    };
    norvale::WebBaseSeam() = [] { return QString(); };
    if (argc < 2) {
        std::fprintf(
            stderr,
            "usage: %s WebTest|SimpleLinkTest|AboutDlgTest|HelpWindowTest [qtest options]\n",
            argv[0]);
        return 2;
    }
    std::unique_ptr<QObject> test;
    if (std::strcmp(argv[1], "WebTest") == 0)
        test = MakeWebTest();
    else if (std::strcmp(argv[1], "SimpleLinkTest") == 0)
        test = MakeSimpleLinkTest();
    else if (std::strcmp(argv[1], "AboutDlgTest") == 0)
        test = MakeAboutDlgTest();
    else if (std::strcmp(argv[1], "HelpWindowTest") == 0)
        test = MakeHelpWindowTest();
    if (!test) {
        std::fprintf(stderr, "unknown test class %s\n", argv[1]);
        return 2;
    }
    argv[1] = argv[0];
    return QTest::qExec(test.get(), argc - 1, argv + 1);
}
