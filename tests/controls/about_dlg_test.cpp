#include "RecordingOpener.h"
#include "controls/AboutDlg.h"
#include "version/Version.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace norvale;

namespace {

QLabel* LabelWithText(const QDialog& dialog, const QString& text) {
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == text)
            return label;
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

} // namespace

class AboutDlgTest : public QObject {
    Q_OBJECT

private slots:
    void itemsStandWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("pixels");
        // Dialog units at base units 6 x 13, each figure rounded on its own.
        QTest::newRow("version") << "Norvale Version 3.46" << QRect(74, 13, 197, 13);
        QTest::newRow("notice") << QString::fromLatin1(CAboutDlg::kNotice)
                                << QRect(11, 91, 260, 16);
        QTest::newRow("contact link") << "contact form" << QRect(147, 59, 63, 13);
        QTest::newRow("home link") << "norvale.example" << QRect(147, 39, 123, 13);
        QTest::newRow("home caption") << "Home page:" << QRect(74, 39, 60, 13);
        QTest::newRow("support caption") << "Support:" << QRect(74, 59, 44, 13);
    }
    void itemsStandWhereTheLayoutPutsThem() {
        QFETCH(QString, text);
        QFETCH(QRect, pixels);
        CAboutDlg dialog;
        QLabel* label = LabelWithText(dialog, text);
        QVERIFY(label);
        QCOMPARE(label->geometry(), pixels);
        // Every text fits its box in the font it is drawn with.
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(text) <= pixels.width(),
                 qPrintable(QStringLiteral("%1 px").arg(metrics.horizontalAdvance(text))));
        QVERIFY(metrics.height() <= pixels.height());
    }

    void windowIconAndButton() {
        CAboutDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Norvale"));
        QCOMPARE(dialog.size(), QSize(281, 154));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QLabel* icon = dialog.findChild<QLabel*>(QStringLiteral("icon"));
        QVERIFY(icon);
        QCOMPARE(icon->geometry(), QRect(11, 21, 32, 32));
        QCOMPARE(icon->pixmap().size(), QSize(32, 32));
        QPushButton* ok = dialog.OkButton();
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(ok->geometry(), QRect(192, 119, 78, 24));
        QVERIFY(ok->isDefault());
    }

    // The links go to the configured web site, or while none is configured
    // to the offline help's sections; the shown host follows the base.
    void linksHaveTheirTargetsAndTooltips_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("contact");
        QTest::newRow("none") << ""
                              << "norvale.example"
                              << "qrc:/norvale/help.html#home"
                              << "qrc:/norvale/help.html#contact";
        QTest::newRow("norvale.example") << "http://norvale.example"
                                         << "norvale.example"
                                         << "http://norvale.example?from=Norvale"
                                         << "http://norvale.example/contact.php?from=Norvale";
        QTest::newRow("own site") << "https://moon.example.org"
                                  << "moon.example.org"
                                  << "https://moon.example.org?from=Norvale"
                                  << "https://moon.example.org/contact.php?from=Norvale";
    }
    void linksHaveTheirTargetsAndTooltips() {
        QFETCH(QString, base);
        QFETCH(QString, host);
        QFETCH(QString, home);
        QFETCH(QString, contact);
        test::ScopedWebBase configured(base);
        CAboutDlg dialog;
        QCOMPARE(dialog.HomeLink().text(), host);
        QCOMPARE(dialog.HomeLink().Target(), home);
        QCOMPARE(dialog.HomeLink().toolTip(), QStringLiteral("Go to ") + host);
        QCOMPARE(dialog.ContactLink().Target(), contact);
        QCOMPARE(dialog.ContactLink().toolTip(), QStringLiteral("Send email to support"));
    }

    void clickingALinkOpensItsPageAndKeepsTheBoxOpen() {
        for (const bool web : {true, false}) {
            test::ScopedWebBase configured(web ? QStringLiteral("http://norvale.example")
                                               : QString());
            CAboutDlg dialog;
            dialog.open();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            test::RecordingOpener opener;
            test::RecordingHelp help;
            Click(&dialog.HomeLink());
            Click(&dialog.ContactLink());
            const QList<QUrl> pages{
                QUrl(QStringLiteral("http://norvale.example?from=Norvale")),
                QUrl(QStringLiteral("http://norvale.example/contact.php?from=Norvale"))};
            QCOMPARE(opener.opened, web ? pages : QList<QUrl>{});
            QCOMPARE(help.sections, web ? QStringList{} : (QStringList{"home", "contact"}));
            QVERIFY(dialog.isVisible());
        }
    }

    // Screen readers read the items in the layout's order, each link with its
    // caption; the icon has a name.
    void accessibleOrderFollowsTheLayout() {
        CAboutDlg dialog;
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&dialog);
        QVERIFY(box);
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
        QCOMPARE(read, expected);
        // The links still show their own captions.
        QCOMPARE(dialog.HomeLink().text(), QStringLiteral("norvale.example"));
        QCOMPARE(dialog.ContactLink().text(), QStringLiteral("contact form"));
        for (QLabel* label : dialog.findChildren<QLabel*>())
            QVERIFY2(label->isVisible(), qPrintable(label->text()));
    }

    void okIsTheOnlyFocusStop() {
        CAboutDlg dialog;
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.focusWidget(), dialog.OkButton());
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            if (child != dialog.OkButton())
                QCOMPARE(child->focusPolicy() & Qt::TabFocus, 0);
        }
    }

    void keysAndOkClose_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(QDialog::Accepted);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
        QTest::newRow("OK clicked") << 0 << int(QDialog::Accepted);
    }
    void keysAndOkClose() {
        QFETCH(int, key);
        QFETCH(int, result);
        CAboutDlg dialog;
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        if (key == 0)
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        else
            QTest::keyClick(&dialog, Qt::Key(key));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), result);
    }
};

std::unique_ptr<QObject> MakeAboutDlgTest() {
    return std::make_unique<AboutDlgTest>();
}

#include "tst_aboutdlg.moc"
