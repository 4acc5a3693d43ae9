// The link label: its hover, colours, clicks, the web targets it opens, its
// accessible face, cursor and icons.

#include "QtPrint.h"
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

#include <gtest/gtest.h>

#include <utility>

namespace norvale {
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

// Lets events run until done() holds, at most 5 s; the comparison after it
// tells what was left.
template <typename Done> void WaitUntil(Done done) {
    static_cast<void>(QTest::qWaitFor(done));
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

TEST(SimpleLinkTest, AttachTakesTargetAndTooltipFromTheCaption) {
    Fixture f;
    EXPECT_EQ(f.link->Target(), QStringLiteral("Next"));
    EXPECT_EQ(f.link->TooltipText(), QStringLiteral("Go to Next"));
    EXPECT_EQ(f.link->toolTip(), QStringLiteral("Go to Next"));
    EXPECT_EQ(f.link->HoverRect(), QRect(0, 0, kWidth, kHeight));
    EXPECT_FALSE(f.link->IsHovered());
    EXPECT_FALSE(f.link->IsHoverTimerActive());
    EXPECT_FALSE(f.link->font().underline());
}

TEST(SimpleLinkTest, TooltipAndTargetAreSetIndependently) {
    Fixture f;
    f.link->SetTooltipText(QStringLiteral("Previous Day"));
    EXPECT_EQ(f.link->toolTip(), QStringLiteral("Previous Day"));
    EXPECT_EQ(f.link->Target(), QStringLiteral("Next"));
    f.link->SetTarget(QStringLiteral("http://norvale.example?from=Norvale"));
    EXPECT_EQ(f.link->toolTip(), QStringLiteral("Previous Day"));
}

TEST(SimpleLinkTest, HoverUnderlinesAtOnceAndEndsAtTheNextTickOutside) {
    Fixture f;
    f.HoverAt({5, 5});
    EXPECT_TRUE(f.link->IsHovered());
    EXPECT_TRUE(f.link->font().underline());
    EXPECT_TRUE(f.link->IsHoverTimerActive());
    EXPECT_EQ(f.link->palette().color(QPalette::WindowText), QColor(50, 50, 250));

    f.link->OnTimer(); // pointer still inside
    EXPECT_TRUE(f.link->IsHovered());

    f.pointer = {kWidth + 20, 5};
    EXPECT_TRUE(f.link->IsHovered()); // nothing happens between ticks
    f.link->OnTimer();
    EXPECT_FALSE(f.link->IsHovered());
    EXPECT_FALSE(f.link->font().underline());
    EXPECT_FALSE(f.link->IsHoverTimerActive());
    EXPECT_EQ(f.link->palette().color(QPalette::WindowText), QColor(50, 50, 250));
    EXPECT_EQ(f.link->TextColor(), kLinkTextColor);
}

// On Wayland the pointer position the tick reads stays inside the label once
// the pointer has left the window; the leave event ends the hover.
TEST(SimpleLinkTest, LeaveEndsTheHoverWhateverThePointerPositionSays) {
    Fixture f;
    f.HoverAt({5, 5});
    EXPECT_TRUE(f.link->IsHovered());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.link, &leave);
    EXPECT_FALSE(f.link->IsHovered());
    EXPECT_FALSE(f.link->font().underline());
    EXPECT_FALSE(f.link->IsHoverTimerActive());
}

// The link blue on the window's face: kept where it reads at 4.5:1 or more,
// otherwise the nearest blue that does, lighter on a dark face and darker on a
// mid-grey one (no lighter colour reaches 4.5:1 there). The colour scheme
// changes while the link is shown, and back again.
TEST(SimpleLinkTest, LinkColourIsReadableOnTheFace) {
    EXPECT_EQ(ContrastRatio(Qt::white, Qt::black), 21.0);
    const struct {
        const char* name;
        QColor face;
        int expected; // 0 kept, 1 lighter, -1 darker
    } cases[] = {
        {"light, Fusion", QColor(0xef, 0xef, 0xef), 0},
        {"white", QColor(Qt::white), 0},
        {"dark, 1.96:1 before", QColor(0x35, 0x35, 0x35), 1},
        {"near black", QColor(0x1e, 0x1e, 0x1e), 1},
        {"mid-grey", QColor(0x80, 0x80, 0x80), -1},
        {"light grey, 3.3:1 before", QColor(0xb0, 0xb0, 0xb0), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QPalette original = QApplication::palette();
        const auto restore = qScopeGuard([&original] { QApplication::setPalette(original); });
        Fixture f;
        EXPECT_EQ(f.link->TextColor(), kLinkTextColor);
        QApplication::setPalette(QPalette(c.face, c.face));
        // The background follows the new face (the change reaches the link
        // through its window).
        WaitUntil([&] { return f.link->palette().color(QPalette::Window) == c.face; });
        EXPECT_EQ(f.link->palette().color(QPalette::Window), c.face);
        const QColor text = f.link->TextColor();
        EXPECT_EQ(f.link->palette().color(QPalette::WindowText), text);
        EXPECT_GE(ContrastRatio(text, c.face), 4.5) << text.name().toStdString();
        EXPECT_TRUE(text.blue() > text.red() && text.blue() > text.green());
        const double change = RelativeLuminance(text) - RelativeLuminance(kLinkTextColor);
        EXPECT_EQ(change > 0 ? 1 : (change < 0 ? -1 : 0), c.expected);
        f.HoverAt({5, 5}); // hovered: the same colour, underlined
        EXPECT_EQ(f.link->palette().color(QPalette::WindowText), text);
        QApplication::setPalette(original);
        WaitUntil([&] { return f.link->TextColor() == kLinkTextColor; });
        EXPECT_EQ(f.link->TextColor(), kLinkTextColor);
    }
}

TEST(SimpleLinkTest, MoveWhileHoveredRestartsNothing) {
    Fixture f;
    f.HoverAt({5, 5});
    const int timerId = f.link->HoverTimerId();
    EXPECT_TRUE(f.link->IsHoverTimerActive());
    f.pointer = {kWidth + 5, 5};
    f.HoverAt({6, 6});
    EXPECT_EQ(f.link->HoverTimerId(), timerId);
    EXPECT_TRUE(f.link->IsHovered());
}

TEST(SimpleLinkTest, HoverRectangleIsHalfOpen) {
    const struct {
        const char* name;
        QPoint pointer;
        bool stillHovered;
    } cases[] = {
        {"top-left corner", QPoint(0, 0), true},
        {"last pixel", QPoint(kWidth - 1, kHeight - 1), true},
        {"right edge", QPoint(kWidth, 5), false},
        {"bottom edge", QPoint(5, kHeight), false},
        {"left of it", QPoint(-1, 5), false},
        {"above it", QPoint(5, -1), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.HoverAt({5, 5});
        f.pointer = c.pointer;
        f.link->OnTimer();
        EXPECT_EQ(f.link->IsHovered(), c.stillHovered);
        EXPECT_EQ(f.link->IsHoverTimerActive(), c.stillHovered);
    }
}

TEST(SimpleLinkTest, HoverUsesTheRectangleTakenAtAttach) {
    Fixture f;
    f.link->resize(kWidth * 2, kHeight);
    f.HoverAt({kWidth + 5, 5});
    f.link->OnTimer();
    EXPECT_FALSE(f.link->IsHovered());
}

TEST(SimpleLinkTest, TheRealTimerEndsTheHover) {
    Fixture f;
    f.HoverAt({5, 5});
    f.pointer = {-10, -10};
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.link->IsHovered(); }, 2000));
    EXPECT_FALSE(f.link->IsHoverTimerActive());
}

TEST(SimpleLinkTest, ClickNotifiesOnPressOnly) {
    Fixture f;
    QSignalSpy clicks(f.link, &CSimpleLink::clicked);
    SendMouse(f.link, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(clicks.size(), 1);
    SendMouse(f.link, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_EQ(clicks.size(), 1);
    SendMouse(f.link, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
    EXPECT_EQ(clicks.size(), 1);
}

TEST(SimpleLinkTest, DoubleClickReportsTheSecondPressOnlyAsDoubleClick) {
    Fixture f;
    QSignalSpy clicks(f.link, &CSimpleLink::clicked);
    QSignalSpy doubles(f.link, &CSimpleLink::doubleClicked);
    SendMouse(f.link, QEvent::MouseButtonPress, {5, 5});
    SendMouse(f.link, QEvent::MouseButtonRelease, {5, 5});
    SendMouse(f.link, QEvent::MouseButtonDblClick, {5, 5});
    SendMouse(f.link, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_EQ(clicks.size(), 1);
    EXPECT_EQ(doubles.size(), 1);
}

TEST(SimpleLinkTest, ReleaseOpensOnlyWebTargets) {
    const QString contact = QStringLiteral("http://norvale.example/contact.php?from=Norvale");
    const struct {
        const char* name;
        QString target;
        QPoint release;
        bool opened;
    } cases[] = {
        {"day label", QString(), QPoint(5, 5), false},
        {"file path", QStringLiteral("/usr/bin/xterm"), QPoint(5, 5), false},
        {"web page", contact, QPoint(5, 5), true},
        {"released beside the label", contact, QPoint(kWidth + 3, 5), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (!c.target.isEmpty()) {
            f.link->SetTarget(c.target);
        }
        test::RecordingOpener opener;
        SendMouse(f.link, QEvent::MouseButtonPress, {5, 5});
        EXPECT_TRUE(opener.opened.isEmpty()); // never on the press
        SendMouse(f.link, QEvent::MouseButtonRelease, c.release);
        ASSERT_EQ(opener.opened.size(), c.opened ? 1 : 0);
        if (c.opened) {
            EXPECT_EQ(opener.opened.front().toString(), c.target);
        }
    }
}

TEST(SimpleLinkTest, AccessibleAsALink) {
    Fixture f;
    f.link->SetTooltipText(QStringLiteral("Next Day"));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(f.link);
    ASSERT_TRUE(iface);
    EXPECT_EQ(iface->role(), QAccessible::Link);
    EXPECT_TRUE(iface->state().linked);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Next"));
    EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("Next Day"));

    QAccessibleActionInterface* actions = iface->actionInterface();
    ASSERT_TRUE(actions);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QSignalSpy clicks(f.link, &CSimpleLink::clicked);
    test::RecordingOpener opener;
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.size(), 1);
    EXPECT_TRUE(opener.opened.isEmpty()); // "Next" is no web address
}

TEST(SimpleLinkTest, HandCursorIsTheProgramsOwn) {
    Fixture f;
    const QCursor cursor = f.link->cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(0, 0));
    ASSERT_EQ(cursor.pixmap().size(), QSize(32, 32));
    // The fingertip is at the hot spot's corner, black outline on white.
    const QImage hand = cursor.pixmap().toImage();
    EXPECT_EQ(QColor(hand.pixel(1, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(hand.pixel(2, 2)), QColor(Qt::white));
    EXPECT_EQ(qAlpha(hand.pixel(31, 31)), 0);
}

TEST(SimpleLinkTest, IconSizesAreBuiltIn) {
    for (auto [path, size] :
         {std::pair{kIconPath, 32}, std::pair{kIcon48Path, 48}, std::pair{kIcon128Path, 128}}) {
        const QPixmap pixmap(QString::fromLatin1(path));
        EXPECT_EQ(pixmap.size(), QSize(size, size)) << path;
    }
    EXPECT_TRUE(QFile::exists(QString::fromLatin1(kIconSvgPath)));
    // Built in without their files' times, so the programs are the same bytes
    // whenever the sources were checked out.
    for (const char* path : {kIconPath, kIcon48Path, kIcon128Path, kIconSvgPath, kHandCursorPath}) {
        EXPECT_FALSE(QResource(QString::fromLatin1(path)).lastModified().isValid()) << path;
    }
}

} // namespace
} // namespace norvale
