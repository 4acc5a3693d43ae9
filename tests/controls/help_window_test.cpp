#include "RecordingOpener.h"
#include "controls/HelpWindow.h"
#include "controls/Web.h"
#include "version/Version.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

using namespace norvale;

namespace {

// The anchor names the shown page defines.
QStringList Anchors(const QTextDocument& document) {
    QStringList names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            names += it.fragment().charFormat().anchorNames();
        }
    }
    return names;
}

int ScrollValue() {
    return CHelpWindow::Instance()->Browser()->verticalScrollBar()->value();
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CHelpWindow::CloseAll(); }

    // A section the program links to but the page lacks would leave the
    // reader at the top of the page.
    void everySectionTheProgramOpensIsInThePage() {
        CHelpWindow::ShowSection(QString());
        CHelpWindow* window = CHelpWindow::Instance();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTextBrowser* browser = window->Browser();
        QCOMPARE(browser->source(), HelpUrl());
        const QString text = browser->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Norvale ") + QString::fromLatin1(kVersion)));
        QVERIFY2(!text.contains(QLatin1Char('@')), "a placeholder was left in the page");
        QCOMPARE(ScrollValue(), 0);

        const QStringList anchors = Anchors(*browser->document());
        int previous = 0;
        for (const char* section :
             {"window", "menu", "keys", "settings", "cli", kLatestVersionPage.helpSection,
              kHomePage.helpSection, kProductPage.helpSection, kContactPage.helpSection}) {
            const QString name = QString::fromLatin1(section);
            QVERIFY2(anchors.contains(name), section);
            CHelpWindow::ShowSection(name);
            QCOMPARE(CHelpWindow::Instance(), window); // one window, reused
            QCOMPARE(browser->source(), HelpUrl(name));
            QVERIFY2(ScrollValue() >= previous && ScrollValue() > 0, section);
            previous = ScrollValue();
        }
        CHelpWindow::ShowSection(QString());
        QCOMPARE(ScrollValue(), 0);
    }

    void notModalAndGoneWhenClosed() {
        CHelpWindow::ShowSection(QStringLiteral("keys"));
        CHelpWindow* window = CHelpWindow::Instance();
        QVERIFY(window);
        QCOMPARE(window->windowModality(), Qt::NonModal);
        QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));
        QCOMPARE(window->windowTitle(), QStringLiteral("Norvale Help"));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::keyClick(window->Browser(), Qt::Key_Escape);
        QTRY_VERIFY(CHelpWindow::Instance() == nullptr); // deleted on close
    }

    // The page's links move within it; a web link goes to the browser; any
    // other address is refused.
    // Code in the page (options, commands) is never broken over two lines,
    // at the window's own width ("norvale-cli --" / "help" was).
    void codeIsNeverBrokenOverLines() {
        CHelpWindow::ShowSection(QString());
        CHelpWindow* window = CHelpWindow::Instance();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTextDocument* page = window->Browser()->document();
        int cells = 0;
        for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
            const QTextLayout* layout = block.layout();
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                // Qt sets code in its "monospace" family.
                const QStringList families = fragment.charFormat().fontFamilies().toStringList();
                if (!families.contains(QLatin1String("monospace"))) {
                    continue;
                }
                ++cells;
                const int first = fragment.position() - block.position();
                const int last = first + fragment.length() - 1;
                QVERIFY2(layout->lineForTextPosition(first).lineNumber() ==
                             layout->lineForTextPosition(last).lineNumber(),
                         qPrintable(fragment.text()));
            }
        }
        QVERIFY(cells >= 10);
    }

    void linksInThePage_data() {
        QTest::addColumn<QString>("href");
        QTest::addColumn<bool>("scrolls");
        QTest::addColumn<int>("opened");
        QTest::newRow("own section") << "#contact" << true << 0;
        QTest::newRow("web page") << "https://norvale.example/" << false << 1;
        QTest::newRow("local file") << "file:///etc/passwd" << false << 0;
        QTest::newRow("other resource") << "qrc:/norvale/hand.png" << false << 0;
        QTest::newRow("relative file") << "../../etc/passwd" << false << 0;
    }
    void linksInThePage() {
        QFETCH(QString, href);
        QFETCH(bool, scrolls);
        QFETCH(int, opened);
        CHelpWindow::ShowSection(QString());
        CHelpWindow* window = CHelpWindow::Instance();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        test::RecordingOpener opener;
        emit window->Browser()->anchorClicked(QUrl(href));
        QCOMPARE(ScrollValue() > 0, scrolls);
        QCOMPARE(opener.opened.size(), opened);
        QCOMPARE(window->Browser()->source(), HelpUrl());
    }
};

std::unique_ptr<QObject> MakeHelpWindowTest() {
    return std::make_unique<HelpWindowTest>();
}

#include "tst_helpwindow.moc"
