// The About box: where its items stand, its links, its reading order, its
// keys.

#include "QtPrint.h"
#include "RecordingOpener.h"
#include "controls/AboutDlg.h"
#include "version/Version.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

namespace norvale {
namespace {

QLabel* LabelWithText(const QDialog& dialog, const QString& text) {
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == text) {
            return label;
        }
    }
    return nullptr;
}

void Click(QWidget* widget) {
    const QPoint pos(2, 2);
    const QPointF global = widget->mapToGlobal(QPointF(pos));
    QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

TEST(AboutDlgTest, ItemsStandWhereTheLayoutPutsThem) {
    // Dialog units at base units 6 x 13, each figure rounded on its own.
    const struct {
        const char* name;
        QString text;
        QRect pixels;
    } cases[] = {
        {"version", QStringLiteral("Norvale Version 3.46"), QRect(74, 13, 197, 13)},
        {"notice", QString::fromLatin1(CAboutDlg::kNotice), QRect(11, 91, 260, 16)},
        {"contact link", QStringLiteral("contact form"), QRect(147, 59, 63, 13)},
        {"home link", QStringLiteral("norvale.example"), QRect(147, 39, 123, 13)},
        {"home caption", QStringLiteral("Home page:"), QRect(74, 39, 60, 13)},
        {"support caption", QStringLiteral("Support:"), QRect(74, 59, 44, 13)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CAboutDlg dialog;
        QLabel* label = LabelWithText(dialog, c.text);
        ASSERT_TRUE(label);
        EXPECT_EQ(label->geometry(), c.pixels);
        // Every text fits its box in the font it is drawn with.
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(c.text), c.pixels.width());
        EXPECT_LE(metrics.height(), c.pixels.height());
    }
}

TEST(AboutDlgTest, WindowIconAndButton) {
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Norvale"));
    EXPECT_EQ(dialog.size(), QSize(281, 154));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    QLabel* icon = dialog.findChild<QLabel*>(QStringLiteral("icon"));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->geometry(), QRect(11, 21, 32, 32));
    EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
    QPushButton* ok = dialog.OkButton();
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(ok->geometry(), QRect(192, 119, 78, 24));
    EXPECT_TRUE(ok->isDefault());
}

// The links go to the configured web site, or while none is configured to the
// offline help's sections; the shown host follows the base.
TEST(AboutDlgTest, LinksHaveTheirTargetsAndTooltips) {
    const struct {
        const char* base;
        const char* host;
        const char* home;
        const char* contact;
    } cases[] = {
        {"", "norvale.example", "qrc:/norvale/help.html#home", "qrc:/norvale/help.html#contact"},
        {"http://norvale.example", "norvale.example", "http://norvale.example?from=Norvale",
         "http://norvale.example/contact.php?from=Norvale"},
        {"https://moon.example.org", "moon.example.org", "https://moon.example.org?from=Norvale",
         "https://moon.example.org/contact.php?from=Norvale"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(*c.base ? c.base : "none");
        test::ScopedWebBase configured(QString::fromLatin1(c.base));
        CAboutDlg dialog;
        const QString host = QString::fromLatin1(c.host);
        EXPECT_EQ(dialog.HomeLink().text(), host);
        EXPECT_EQ(dialog.HomeLink().Target(), QString::fromLatin1(c.home));
        EXPECT_EQ(dialog.HomeLink().toolTip(), QStringLiteral("Go to ") + host);
        EXPECT_EQ(dialog.ContactLink().Target(), QString::fromLatin1(c.contact));
        EXPECT_EQ(dialog.ContactLink().toolTip(), QStringLiteral("Send email to support"));
    }
}

TEST(AboutDlgTest, ClickingALinkOpensItsPageAndKeepsTheBoxOpen) {
    for (const bool web : {true, false}) {
        SCOPED_TRACE(web ? "web" : "no web address");
        test::ScopedWebBase configured(web ? QStringLiteral("http://norvale.example") : QString());
        CAboutDlg dialog;
        dialog.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        test::RecordingOpener opener;
        test::RecordingHelp help;
        Click(&dialog.HomeLink());
        Click(&dialog.ContactLink());
        const QList<QUrl> pages{
            QUrl(QStringLiteral("http://norvale.example?from=Norvale")),
            QUrl(QStringLiteral("http://norvale.example/contact.php?from=Norvale"))};
        EXPECT_EQ(opener.opened, web ? pages : QList<QUrl>{});
        EXPECT_EQ(help.sections, web ? QStringList{} : (QStringList{"home", "contact"}));
        EXPECT_TRUE(dialog.isVisible());
    }
}

// Screen readers read the items in the layout's order, each link with its
// caption; the icon has a name.
TEST(AboutDlgTest, AccessibleOrderFollowsTheLayout) {
    CAboutDlg dialog;
    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&dialog);
    ASSERT_TRUE(box);
    QList<std::pair<QAccessible::Role, QString>> read;
    for (int i = 0; i < box->childCount(); ++i) {
        QAccessibleInterface* child = box->child(i);
        read.append({child->role(), child->text(QAccessible::Name)});
    }
    const QList<std::pair<QAccessible::Role, QString>> expected{
        {QAccessible::Graphic, "Norvale"},
        {QAccessible::StaticText, "Norvale Version " + QString::fromLatin1(kVersion)},
        {QAccessible::StaticText, "Home page:"},
        {QAccessible::Link, "Home page: norvale.example"},
        {QAccessible::StaticText, "Support:"},
        {QAccessible::Link, "Support: contact form"},
        {QAccessible::StaticText, QString::fromLatin1(CAboutDlg::kNotice)},
        {QAccessible::Button, "OK"},
    };
    EXPECT_EQ(read, expected);
    // The links still show their own captions.
    EXPECT_EQ(dialog.HomeLink().text(), QStringLiteral("norvale.example"));
    EXPECT_EQ(dialog.ContactLink().text(), QStringLiteral("contact form"));
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        EXPECT_TRUE(label->isVisible()) << label->text().toStdString();
    }
}

TEST(AboutDlgTest, OkIsTheOnlyFocusStop) {
    CAboutDlg dialog;
    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.focusWidget(), dialog.OkButton());
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        if (child != dialog.OkButton()) {
            EXPECT_EQ(child->focusPolicy() & Qt::TabFocus, 0) << child->metaObject()->className();
        }
    }
}

TEST(AboutDlgTest, KeysAndOkClose) {
    const struct {
        const char* name;
        int key; // 0: OK clicked
        int result;
    } cases[] = {
        {"Enter", Qt::Key_Return, QDialog::Accepted},
        {"keypad Enter", Qt::Key_Enter, QDialog::Accepted},
        {"Escape", Qt::Key_Escape, QDialog::Rejected},
        {"OK clicked", 0, QDialog::Accepted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CAboutDlg dialog;
        dialog.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        if (c.key == 0) {
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        } else {
            QTest::keyClick(&dialog, Qt::Key(c.key));
        }
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), c.result);
    }
}

} // namespace
} // namespace norvale
