#include "RecordingOpener.h"
#include "controls/Web.h"
#include "ui/DialogUnits.h"

#include <QTest>

#include <memory>

using namespace norvale;

Q_DECLARE_METATYPE(norvale::MakerPage)

class WebTest : public QObject {
    Q_OBJECT

private slots:
    // With a web address configured, every page is on it.
    void pageAddresses_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<MakerPage>("page");
        QTest::addColumn<QString>("expected");
        const QString example = QStringLiteral("http://norvale.example");
        QTest::newRow("help") << example << kHelpTopicsPage
                              << "http://norvale.example/Norvale/help/?from=Norvale";
        QTest::newRow("latest version")
            << example << kLatestVersionPage << "http://norvale.example/Norvale/?from=Norvale";
        QTest::newRow("product") << example << kProductPage
                                 << "http://norvale.example/Norvale/?from=Norvale";
        QTest::newRow("contact") << example << kContactPage
                                 << "http://norvale.example/contact.php?from=Norvale";
        QTest::newRow("home, no slash before the query")
            << example << kHomePage << "http://norvale.example?from=Norvale";
        QTest::newRow("https base with a folder and a slash")
            << "https://moon.example.org/apps/" << kContactPage
            << "https://moon.example.org/apps/contact.php?from=Norvale";
        QTest::newRow("home below a folder") << "https://moon.example.org/apps" << kHomePage
                                             << "https://moon.example.org/apps?from=Norvale";
    }
    void pageAddresses() {
        QFETCH(QString, base);
        QFETCH(MakerPage, page);
        QFETCH(QString, expected);
        test::ScopedWebBase configured(base);
        const QUrl url = PageUrl(page);
        QCOMPARE(url.toString(), expected);
        QCOMPARE(url.host(), MakerHost());
        QVERIFY(IsWebAddress(url));
    }

    // Without one (or with one that is no web address), every page is its
    // section of the offline help and the shown host stays the reserved name.
    void pagesWithoutABaseAreHelpSections_data() {
        QTest::addColumn<QString>("base");
        for (const char* base :
             {"", "ftp://norvale.example", "norvale.example", "http://norvale.example?x=1",
              "http://user@norvale.example", "javascript:alert(1)", "file:///usr/share/norvale"}) {
            QTest::newRow(*base ? base : "none") << QString::fromLatin1(base);
        }
    }
    void pagesWithoutABaseAreHelpSections() {
        QFETCH(QString, base);
        test::ScopedWebBase configured(base);
        QCOMPARE(WebBase(), QString());
        QCOMPARE(MakerHost(), QStringLiteral("norvale.example"));
        const std::pair<MakerPage, const char*> pages[] = {
            {kHelpTopicsPage, "qrc:/norvale/help.html"},
            {kLatestVersionPage, "qrc:/norvale/help.html#version"},
            {kProductPage, "qrc:/norvale/help.html#home"},
            {kHomePage, "qrc:/norvale/help.html#home"},
            {kContactPage, "qrc:/norvale/help.html#contact"},
        };
        for (const auto& [page, expected] : pages) {
            QCOMPARE(PageUrl(page).toString(), QString::fromLatin1(expected));
            QVERIFY(IsHelpAddress(PageUrl(page)));
        }
    }

    // Only the web and the help's own sections are ever opened, each by its
    // own opener.
    void openUrlHandsEachAddressToItsOpener_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("helpSection"); // "-": not the help
        QTest::addColumn<bool>("web");
        QTest::newRow("help") << "qrc:/norvale/help.html"
                              << "" << false;
        QTest::newRow("help section") << "qrc:/norvale/help.html#keys"
                                      << "keys" << false;
        QTest::newRow("other resource") << "qrc:/norvale/icon.png"
                                        << "-" << false;
        QTest::newRow("help with a query") << "qrc:/norvale/help.html?x#keys"
                                           << "-" << false;
        QTest::newRow("odd section") << "qrc:/norvale/help.html#../x"
                                     << "-" << false;
        QTest::newRow("help with a host") << "qrc://evil/norvale/help.html"
                                          << "-" << false;
        QTest::newRow("installed file") << "file:///usr/share/norvale/help.html"
                                        << "-" << false;
        QTest::newRow("web") << "https://norvale.example/a"
                             << "-" << true;
    }
    void openUrlHandsEachAddressToItsOpener() {
        QFETCH(QString, text);
        QFETCH(QString, helpSection);
        QFETCH(bool, web);
        test::RecordingOpener opener;
        test::RecordingHelp help;
        const bool isHelp = helpSection != QLatin1String("-");
        QCOMPARE(OpenUrl(QUrl(text)), isHelp || web);
        QCOMPARE(help.sections, isHelp ? QStringList{helpSection} : QStringList{});
        QCOMPARE(opener.opened.size(), web ? 1 : 0);
    }

    void webAddresses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("web");
        QTest::newRow("bare caption") << "Next" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("http") << "http://norvale.example?from=Norvale" << true;
        QTest::newRow("https with path") << "https://norvale.example/a/b" << true;
        QTest::newRow("upper-case scheme") << "HTTP://NORVALE.EXAMPLE/" << true;
        QTest::newRow("no host") << "http:" << false;
        QTest::newRow("local file") << "file:///etc/passwd" << false;
        QTest::newRow("absolute path") << "/bin/sh" << false;
        QTest::newRow("relative path") << "./Next" << false;
        QTest::newRow("mail") << "mailto:support@norvale.example" << false;
        QTest::newRow("script") << "javascript:alert(1)" << false;
        QTest::newRow("other scheme") << "ftp://norvale.example/" << false;
    }
    void webAddresses() {
        QFETCH(QString, text);
        QFETCH(bool, web);
        QCOMPARE(IsWebAddress(text), web);

        test::RecordingOpener opener;
        test::RecordingHelp help;
        QCOMPARE(OpenUrl(QUrl(text)), web);
        QVERIFY(help.sections.isEmpty());
        QCOMPARE(opener.opened.size(), web ? 1 : 0);
    }

    void scopedOpenerRestoresThePreviousOne() {
        const QUrl home = WebPageUrl(QStringLiteral("http://norvale.example"), QString());
        test::RecordingOpener outer;
        {
            test::RecordingOpener inner;
            OpenUrl(home);
            QCOMPARE(inner.opened.size(), 1);
        }
        OpenUrl(home);
        QCOMPARE(outer.opened, QList<QUrl>{home});
    }

    void dialogUnits_data() {
        QTest::addColumn<int>("units");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<int>("pixels");
        QTest::newRow("x 4") << 4 << true << 6;
        QTest::newRow("x 7, half rounds up") << 7 << true << 11;
        QTest::newRow("x 91") << 91 << true << 137;
        QTest::newRow("x 187") << 187 << true << 281;
        QTest::newRow("x -7, half away from zero") << -7 << true << -11;
        QTest::newRow("y 3") << 3 << false << 5;
        QTest::newRow("y 36, half rounds up") << 36 << false << 59;
        QTest::newRow("y 95") << 95 << false << 154;
        QTest::newRow("y 97") << 97 << false << 158;
        QTest::newRow("y 135") << 135 << false << 219;
    }
    void dialogUnits() {
        QFETCH(int, units);
        QFETCH(bool, horizontal);
        QFETCH(int, pixels);
        QCOMPARE(horizontal ? DialogUnitsToPixelsX(units) : DialogUnitsToPixelsY(units), pixels);
    }
};

std::unique_ptr<QObject> MakeWebTest() {
    return std::make_unique<WebTest>();
}

#include "tst_web.moc"
