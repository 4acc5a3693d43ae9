#include "RecordingOpener.h"
#include "controls/Web.h"
#include "ui/DialogUnits.h"

#include <QTest>

#include <memory>

using namespace norvale;

class WebTest : public QObject {
    Q_OBJECT

private slots:
    void pageAddresses_data() {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("help") << PageUrl(kHelpPath)
                              << "http://norvale.example/Norvale/help/?from=Norvale";
        QTest::newRow("product") << PageUrl(kProductPath)
                                 << "http://norvale.example/Norvale/?from=Norvale";
        QTest::newRow("contact") << PageUrl(kContactPath)
                                 << "http://norvale.example/contact.php?from=Norvale";
        QTest::newRow("home, no slash before the query")
            << HomePageUrl() << "http://norvale.example?from=Norvale";
    }
    void pageAddresses() {
        QFETCH(QUrl, url);
        QFETCH(QString, expected);
        QCOMPARE(url.toString(), expected);
        QCOMPARE(url.host(), MakerHost());
        QVERIFY(IsWebAddress(url));
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
        QCOMPARE(OpenUrl(QUrl(text)), web);
        QCOMPARE(opener.opened.size(), web ? 1 : 0);
    }

    void scopedOpenerRestoresThePreviousOne() {
        test::RecordingOpener outer;
        {
            test::RecordingOpener inner;
            OpenUrl(HomePageUrl());
            QCOMPARE(inner.opened.size(), 1);
        }
        OpenUrl(HomePageUrl());
        QCOMPARE(outer.opened, QList<QUrl>{HomePageUrl()});
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
