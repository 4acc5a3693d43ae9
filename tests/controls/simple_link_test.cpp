#include "RecordingOpener.h"
#include "controls/SimpleLink.h"
#include "ui/Contrast.h"
#include "ui/Icons.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QResource>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace norvale;

namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 13;

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos,
               Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A day label as the main window has it: caption, size, then the attach.
struct Fixture {
    QWidget window;
    CSimpleLink* link = nullptr;
    QPoint pointer; // in the link's coordinates, read by the hover test

    explicit Fixture(const QString& caption = QStringLiteral("Next")) {
        window.resize(200, 100);
        link = new CSimpleLink(caption, &window);
        link->setGeometry(10, 20, kWidth, kHeight);
        link->Attach();
        link->SetPointerSource([this] { return link->mapToGlobal(pointer); });
        window.show();
    }

    void HoverAt(QPoint pos) {
        pointer = pos;
        SendMouse(link, QEvent::MouseMove, pos, Qt::NoButton);
    }
};

} // namespace

class SimpleLinkTest : public QObject {
    Q_OBJECT

private slots:
    void attachTakesTargetAndTooltipFromTheCaption() {
        Fixture f;
        QCOMPARE(f.link->Target(), QStringLiteral("Next"));
        QCOMPARE(f.link->TooltipText(), QStringLiteral("Go to Next"));
        QCOMPARE(f.link->toolTip(), QStringLiteral("Go to Next"));
        QCOMPARE(f.link->HoverRect(), QRect(0, 0, kWidth, kHeight));
        QVERIFY(!f.link->IsHovered());
        QVERIFY(!f.link->IsHoverTimerActive());
        QVERIFY(!f.link->font().underline());
    }

    void tooltipAndTargetAreSetIndependently() {
        Fixture f;
        f.link->SetTooltipText(QStringLiteral("Previous Day"));
        QCOMPARE(f.link->toolTip(), QStringLiteral("Previous Day"));
        QCOMPARE(f.link->Target(), QStringLiteral("Next"));
        f.link->SetTarget(QStringLiteral("http://norvale.example?from=Norvale"));
        QCOMPARE(f.link->toolTip(), QStringLiteral("Previous Day"));
    }

    void hoverUnderlinesAtOnceAndEndsAtTheNextTickOutside() {
        Fixture f;
        f.HoverAt({5, 5});
        QVERIFY(f.link->IsHovered());
        QVERIFY(f.link->font().underline());
        QVERIFY(f.link->IsHoverTimerActive());
        QCOMPARE(f.link->palette().color(QPalette::WindowText), QColor(50, 50, 250));

        f.link->OnTimer(); // pointer still inside
        QVERIFY(f.link->IsHovered());

        f.pointer = {kWidth + 20, 5};
        QVERIFY(f.link->IsHovered()); // nothing happens between ticks
        f.link->OnTimer();
        QVERIFY(!f.link->IsHovered());
        QVERIFY(!f.link->font().underline());
        QVERIFY(!f.link->IsHoverTimerActive());
        QCOMPARE(f.link->palette().color(QPalette::WindowText), QColor(50, 50, 250));
        QCOMPARE(f.link->TextColor(), kLinkTextColor);
    }

    // On Wayland the pointer position the tick reads stays inside the label
    // once the pointer has left the window; the leave event ends the hover.
    void leaveEndsTheHoverWhateverThePointerPositionSays() {
        Fixture f;
        f.HoverAt({5, 5});
        QVERIFY(f.link->IsHovered());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(f.link, &leave);
        QVERIFY(!f.link->IsHovered());
        QVERIFY(!f.link->font().underline());
        QVERIFY(!f.link->IsHoverTimerActive());
    }

    // The link blue on the window's face: kept where it reads at 4.5:1 or
    // more, otherwise the nearest blue that does, lighter on a dark face and
    // darker on a mid-grey one (no lighter colour reaches 4.5:1 there). The
    // colour scheme changes while the link is shown, and back again.
    void linkColourIsReadableOnTheFace_data() {
        QTest::addColumn<QColor>("face");
        QTest::addColumn<int>("expected"); // 0 kept, 1 lighter, -1 darker
        QTest::newRow("light, Fusion") << QColor(0xef, 0xef, 0xef) << 0;
        QTest::newRow("white") << QColor(Qt::white) << 0;
        QTest::newRow("dark, 1.96:1 before") << QColor(0x35, 0x35, 0x35) << 1;
        QTest::newRow("near black") << QColor(0x1e, 0x1e, 0x1e) << 1;
        QTest::newRow("mid-grey") << QColor(0x80, 0x80, 0x80) << -1;
        QTest::newRow("light grey, 3.3:1 before") << QColor(0xb0, 0xb0, 0xb0) << -1;
    }
    void linkColourIsReadableOnTheFace() {
        QFETCH(QColor, face);
        QFETCH(int, expected);
        QCOMPARE(ContrastRatio(Qt::white, Qt::black), 21.0);
        const QPalette original = QApplication::palette();
        const auto restore = qScopeGuard([&original] { QApplication::setPalette(original); });
        Fixture f;
        QCOMPARE(f.link->TextColor(), kLinkTextColor);
        QApplication::setPalette(QPalette(face, face));
        // The background follows the new face (the change reaches the link
        // through its window).
        QTRY_COMPARE(f.link->palette().color(QPalette::Window), face);
        const QColor text = f.link->TextColor();
        QCOMPARE(f.link->palette().color(QPalette::WindowText), text);
        QVERIFY2(ContrastRatio(text, face) >= 4.5, qPrintable(QStringLiteral("%1 on %2: %3:1")
                                                                  .arg(text.name(), face.name())
                                                                  .arg(ContrastRatio(text, face))));
        QVERIFY(text.blue() > text.red() && text.blue() > text.green());
        const double change = RelativeLuminance(text) - RelativeLuminance(kLinkTextColor);
        QCOMPARE(change > 0 ? 1 : (change < 0 ? -1 : 0), expected);
        f.HoverAt({5, 5}); // hovered: the same colour, underlined
        QCOMPARE(f.link->palette().color(QPalette::WindowText), text);
        QApplication::setPalette(original);
        QTRY_COMPARE(f.link->TextColor(), kLinkTextColor);
    }

    void moveWhileHoveredRestartsNothing() {
        Fixture f;
        f.HoverAt({5, 5});
        const int timerId = f.link->HoverTimerId();
        QVERIFY(f.link->IsHoverTimerActive());
        f.pointer = {kWidth + 5, 5};
        f.HoverAt({6, 6});
        QCOMPARE(f.link->HoverTimerId(), timerId);
        QVERIFY(f.link->IsHovered());
    }

    void hoverRectangleIsHalfOpen_data() {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("stillHovered");
        QTest::newRow("top-left corner") << QPoint(0, 0) << true;
        QTest::newRow("last pixel") << QPoint(kWidth - 1, kHeight - 1) << true;
        QTest::newRow("right edge") << QPoint(kWidth, 5) << false;
        QTest::newRow("bottom edge") << QPoint(5, kHeight) << false;
        QTest::newRow("left of it") << QPoint(-1, 5) << false;
        QTest::newRow("above it") << QPoint(5, -1) << false;
    }
    void hoverRectangleIsHalfOpen() {
        QFETCH(QPoint, pointer);
        QFETCH(bool, stillHovered);
        Fixture f;
        f.HoverAt({5, 5});
        f.pointer = pointer;
        f.link->OnTimer();
        QCOMPARE(f.link->IsHovered(), stillHovered);
        QCOMPARE(f.link->IsHoverTimerActive(), stillHovered);
    }

    void hoverUsesTheRectangleTakenAtAttach() {
        Fixture f;
        f.link->resize(kWidth * 2, kHeight);
        f.HoverAt({kWidth + 5, 5});
        f.link->OnTimer();
        QVERIFY(!f.link->IsHovered());
    }

    void theRealTimerEndsTheHover() {
        Fixture f;
        f.HoverAt({5, 5});
        f.pointer = {-10, -10};
        QTRY_VERIFY_WITH_TIMEOUT(!f.link->IsHovered(), 2000);
        QVERIFY(!f.link->IsHoverTimerActive());
    }

    void clickNotifiesOnPressOnly() {
        Fixture f;
        QSignalSpy clicks(f.link, &CSimpleLink::clicked);
        SendMouse(f.link, QEvent::MouseButtonPress, {5, 5});
        QCOMPARE(clicks.size(), 1);
        SendMouse(f.link, QEvent::MouseButtonRelease, {5, 5});
        QCOMPARE(clicks.size(), 1);
        SendMouse(f.link, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
        QCOMPARE(clicks.size(), 1);
    }

    void doubleClickReportsTheSecondPressOnlyAsDoubleClick() {
        Fixture f;
        QSignalSpy clicks(f.link, &CSimpleLink::clicked);
        QSignalSpy doubles(f.link, &CSimpleLink::doubleClicked);
        SendMouse(f.link, QEvent::MouseButtonPress, {5, 5});
        SendMouse(f.link, QEvent::MouseButtonRelease, {5, 5});
        SendMouse(f.link, QEvent::MouseButtonDblClick, {5, 5});
        SendMouse(f.link, QEvent::MouseButtonRelease, {5, 5});
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(doubles.size(), 1);
    }

    void releaseOpensOnlyWebTargets_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<bool>("opened");
        QTest::newRow("day label") << QString() << QPoint(5, 5) << false;
        QTest::newRow("file path") << "/usr/bin/xterm" << QPoint(5, 5) << false;
        QTest::newRow("web page") << "http://norvale.example/contact.php?from=Norvale"
                                  << QPoint(5, 5) << true;
        QTest::newRow("released beside the label")
            << "http://norvale.example/contact.php?from=Norvale" << QPoint(kWidth + 3, 5) << false;
    }
    void releaseOpensOnlyWebTargets() {
        QFETCH(QString, target);
        QFETCH(QPoint, release);
        QFETCH(bool, opened);
        Fixture f;
        if (!target.isEmpty())
            f.link->SetTarget(target);
        test::RecordingOpener opener;
        SendMouse(f.link, QEvent::MouseButtonPress, {5, 5});
        QVERIFY(opener.opened.isEmpty()); // never on the press
        SendMouse(f.link, QEvent::MouseButtonRelease, release);
        QCOMPARE(opener.opened.size(), opened ? 1 : 0);
        if (opened)
            QCOMPARE(opener.opened.front().toString(), target);
    }

    void accessibleAsALink() {
        Fixture f;
        f.link->SetTooltipText(QStringLiteral("Next Day"));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(f.link);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Link);
        QVERIFY(iface->state().linked);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Next"));
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Next Day"));

        QAccessibleActionInterface* actions = iface->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QSignalSpy clicks(f.link, &CSimpleLink::clicked);
        test::RecordingOpener opener;
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 1);
        QVERIFY(opener.opened.isEmpty()); // "Next" is no web address
    }

    void handCursorIsTheProgramsOwn() {
        Fixture f;
        const QCursor cursor = f.link->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(0, 0));
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
        // The fingertip is at the hot spot's corner, black outline on white.
        const QImage hand = cursor.pixmap().toImage();
        QCOMPARE(QColor(hand.pixel(1, 0)), QColor(Qt::black));
        QCOMPARE(QColor(hand.pixel(2, 2)), QColor(Qt::white));
        QCOMPARE(qAlpha(hand.pixel(31, 31)), 0);
    }

    void iconSizesAreBuiltIn() {
        for (auto [path, size] :
             {std::pair{kIconPath, 32}, std::pair{kIcon48Path, 48}, std::pair{kIcon128Path, 128}}) {
            const QPixmap pixmap(QString::fromLatin1(path));
            QCOMPARE(pixmap.size(), QSize(size, size));
        }
        QVERIFY(QFile::exists(QString::fromLatin1(kIconSvgPath)));
        // Built in without their files' times, so the programs are the same
        // bytes whenever the sources were checked out.
        for (const char* path :
             {kIconPath, kIcon48Path, kIcon128Path, kIconSvgPath, kHandCursorPath})
            QVERIFY2(!QResource(QString::fromLatin1(path)).lastModified().isValid(), path);
    }
};

std::unique_ptr<QObject> MakeSimpleLinkTest() {
    return std::make_unique<SimpleLinkTest>();
}

#include "tst_simplelink.moc"
