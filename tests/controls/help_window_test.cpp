// The help window: the sections the program opens, its links, its code
// lines, and that it is no modal box.

#include "QtPrint.h"
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

#include <gtest/gtest.h>

namespace norvale {
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

// Every test ends with the help window closed.
class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override { CHelpWindow::CloseAll(); }
};

// A section the program links to but the page lacks would leave the reader at
// the top of the page.
TEST_F(HelpWindowTest, EverySectionTheProgramOpensIsInThePage) {
    CHelpWindow::ShowSection(QString());
    CHelpWindow* window = CHelpWindow::Instance();
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTextBrowser* browser = window->Browser();
    EXPECT_EQ(browser->source(), HelpUrl());
    const QString text = browser->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Norvale ") + QString::fromLatin1(kVersion)));
    EXPECT_FALSE(text.contains(QLatin1Char('@'))) << "a placeholder was left in the page";
    EXPECT_EQ(ScrollValue(), 0);

    const QStringList anchors = Anchors(*browser->document());
    int previous = 0;
    for (const char* section :
         {"window", "menu", "keys", "settings", "cli", kLatestVersionPage.helpSection,
          kHomePage.helpSection, kProductPage.helpSection, kContactPage.helpSection}) {
        SCOPED_TRACE(section);
        const QString name = QString::fromLatin1(section);
        ASSERT_TRUE(anchors.contains(name));
        CHelpWindow::ShowSection(name);
        ASSERT_EQ(CHelpWindow::Instance(), window); // one window, reused
        EXPECT_EQ(browser->source(), HelpUrl(name));
        EXPECT_GE(ScrollValue(), previous);
        EXPECT_GT(ScrollValue(), 0);
        previous = ScrollValue();
    }
    CHelpWindow::ShowSection(QString());
    EXPECT_EQ(ScrollValue(), 0);
}

TEST_F(HelpWindowTest, NotModalAndGoneWhenClosed) {
    CHelpWindow::ShowSection(QStringLiteral("keys"));
    CHelpWindow* window = CHelpWindow::Instance();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowModality(), Qt::NonModal);
    EXPECT_FALSE(window->testAttribute(Qt::WA_QuitOnClose));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Norvale Help"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::keyClick(window->Browser(), Qt::Key_Escape);
    // Deleted on close.
    EXPECT_TRUE(QTest::qWaitFor([] { return CHelpWindow::Instance() == nullptr; }));
}

// Code in the page (options, commands) is never broken over two lines, at the
// window's own width ("norvale-cli --" / "help" was).
TEST_F(HelpWindowTest, CodeIsNeverBrokenOverLines) {
    CHelpWindow::ShowSection(QString());
    CHelpWindow* window = CHelpWindow::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
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
            EXPECT_EQ(layout->lineForTextPosition(first).lineNumber(),
                      layout->lineForTextPosition(last).lineNumber())
                << fragment.text().toStdString();
        }
    }
    EXPECT_GE(cells, 10);
}

// The page's links move within it; a web link goes to the browser; any other
// address is refused.
TEST_F(HelpWindowTest, LinksInThePage) {
    const struct {
        const char* name;
        const char* href;
        bool scrolls;
        int opened;
    } cases[] = {
        {"own section", "#contact", true, 0},
        {"web page", "https://norvale.example/", false, 1},
        {"local file", "file:///etc/passwd", false, 0},
        {"other resource", "qrc:/norvale/hand.png", false, 0},
        {"relative file", "../../etc/passwd", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHelpWindow::ShowSection(QString());
        CHelpWindow* window = CHelpWindow::Instance();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        test::RecordingOpener opener;
        emit window->Browser()->anchorClicked(QUrl(QString::fromLatin1(c.href)));
        EXPECT_EQ(ScrollValue() > 0, c.scrolls);
        EXPECT_EQ(opener.opened.size(), c.opened);
        EXPECT_EQ(window->Browser()->source(), HelpUrl());
        CHelpWindow::CloseAll(); // every link from a fresh window
    }
}

} // namespace
} // namespace norvale
