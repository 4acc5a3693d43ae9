// The main window's layout, start-up placement, focus and endings.
#include "tests/app/window_fixture.h"

#include "app/DialogLayout.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <climits>

namespace norvale::test {
namespace {

QRect ScreenRect() {
    return QGuiApplication::primaryScreen()->geometry();
}

// The outer size of the full window: the client area and the frame (the
// offscreen platform gives windows a frame of its own).
QSize OuterFull(const CNorvaleDlg& dlg) {
    return QSize(dlg.frameGeometry().width(), dlg.FullHeight());
}

// The centred corner of start-up: the height is the one left after the
// 50-pixel shortening, so the full window stands 25 pixels low.
QPoint CentredCorner(const CNorvaleDlg& dlg) {
    const QRect s = ScreenRect();
    const QSize outer = OuterFull(dlg);
    return QPoint(s.left() + s.width() / 2 - outer.width() / 2,
                  s.top() + s.height() / 2 - (outer.height() - 50) / 2);
}

TEST_F(WindowTest, FullLayoutHasTheTemplatePixelFigures) {
    CNorvaleDlg& dlg = Start();
    EXPECT_EQ(dlg.size(), QSize(149, 219));
    EXPECT_EQ(dlg.PictureFrame()->geometry(), QRect(6, 5, 137, 158));
    EXPECT_EQ(QRect(dlg.m_moonImage.mapTo(&dlg, QPoint(0, 0)), dlg.m_moonImage.size()),
              QRect(7, 6, 135, 156));
    for (QWidget* w :
         {static_cast<QWidget*>(&dlg.DatePicker()), static_cast<QWidget*>(dlg.MenuButton())}) {
        EXPECT_EQ(w->geometry().top(), 182);
        EXPECT_EQ(w->geometry().top() + w->geometry().height(), 206);
    }
    EXPECT_EQ(dlg.m_rcToggleFull, (PixelRect{69, 210, 77, 214}));
    EXPECT_EQ(dlg.m_rcToggleCompact, (PixelRect{69, 181, 77, 185}));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Norvale"));
    EXPECT_FALSE(dlg.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
}

TEST_F(WindowTest, FirstStartIsFullNorthernIndexFiveCentredLow) {
    CNorvaleDlg& dlg = Start();
    EXPECT_TRUE(dlg.Settings().bFull);
    EXPECT_TRUE(dlg.Settings().bNorthern);
    EXPECT_EQ(dlg.Settings().nDateFormat, 5);
    EXPECT_EQ(dlg.DatePicker().displayFormat(), QStringLiteral("dd-MMM-yyyy"));
    EXPECT_TRUE(dlg.MenuAction(ID_NORTHERN)->isChecked());
    EXPECT_EQ(MarkedFormats(), std::vector<int>{335});
    const PixelRect rect = dlg.ReadWindowRect();
    EXPECT_EQ(QPoint(rect.left, rect.top), CentredCorner(dlg));
    EXPECT_EQ(rect.Height(), OuterFull(dlg).height());
    EXPECT_EQ(rect.top - (ScreenRect().height() / 2 - rect.Height() / 2), 25);
    EXPECT_TRUE(std::filesystem::is_directory(SettingsFile().parent_path()));
    EXPECT_EQ(dlg.focusWidget(), dlg.MenuButton());
    EXPECT_EQ(m_commands, (std::vector<int>{310, 335, 340}));
    EXPECT_EQ(dlg.m_prevLink.TooltipText(), QStringLiteral("Previous Day"));
    EXPECT_EQ(dlg.m_nextLink.TooltipText(), QStringLiteral("Next Day"));
    EXPECT_EQ(dlg.m_todayLink.TooltipText(), QStringLiteral("Go to Today"));
}

TEST_F(WindowTest, StoredCornerOffThePrimaryScreenIsCentred) {
    const QRect s = ScreenRect();
    struct Case {
        int left, top;
        bool kept;
    };
    const Case cases[] = {
        {-32000, -32000, false},     // closed while minimised
        {s.right() + 1, 10, false},  // exactly on the right edge
        {10, s.bottom() + 1, false}, // exactly on the bottom edge
        {INT_MAX, INT_MIN, false},     {s.left(), s.top(), true}, {100, 50, true},
        {s.right(), s.bottom(), true}, // the last pixel still counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << ", " << c.top);
        AppSettings stored;
        stored.nLeft = c.left;
        stored.nTop = c.top;
        Store(stored);
        CNorvaleDlg& dlg = Start();
        const PixelRect rect = dlg.ReadWindowRect();
        const QPoint expected = c.kept ? QPoint(c.left, c.top) : CentredCorner(dlg);
        EXPECT_EQ(QPoint(rect.left, rect.top), expected);
        EXPECT_EQ(rect.Height(), OuterFull(dlg).height());
        EXPECT_EQ(dlg.size(), QSize(149, 219));
    }
}

TEST_F(WindowTest, StoredCompactLayoutOpensShorterWithTheFocusOnThePicture) {
    AppSettings stored;
    stored.nLeft = 40;
    stored.nTop = 30;
    stored.bFull = false;
    Store(stored);
    CNorvaleDlg& dlg = Start();
    EXPECT_EQ(dlg.size(), QSize(149, 189));
    const PixelRect rect = dlg.ReadWindowRect();
    EXPECT_EQ(QPoint(rect.left, rect.top), QPoint(40, 30));
    EXPECT_EQ(rect.Height(), dlg.FullHeight() - 30);
    EXPECT_FALSE(dlg.DatePicker().isVisible());
    EXPECT_FALSE(dlg.MenuButton()->isVisible());
    EXPECT_EQ(ItemText(ID_LAYOUT_TOGGLE), QStringLiteral("Full"));
    // Not on the hidden "Menu" button: on the picture.
    EXPECT_EQ(dlg.focusWidget(), &dlg.m_moonImage);
}

// The keyboard reaches every control: the picture is the last tab stop, and
// in the compact layout it takes the focus from the hidden picker or "Menu".
TEST_F(WindowTest, ThePictureIsTheLastTabStopAndTheCompactLayoutsFocus) {
    CNorvaleDlg& dlg = Start();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    std::vector<QWidget*> order{dlg.focusWidget()};
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(dlg.focusWidget(), Qt::Key_Tab);
        order.push_back(dlg.focusWidget());
    }
    // (Tab in the picker then moves between its fields.)
    EXPECT_EQ(order,
              (std::vector<QWidget*>{dlg.MenuButton(), &dlg.m_moonImage, &dlg.DatePicker()}));
    for (QWidget* from :
         {static_cast<QWidget*>(&dlg.DatePicker()), static_cast<QWidget*>(dlg.MenuButton())}) {
        from->setFocus();
        dlg.OnCommand(ID_LAYOUT_TOGGLE, 0); // compact
        EXPECT_EQ(dlg.focusWidget(), &dlg.m_moonImage);
        dlg.OnCommand(ID_LAYOUT_TOGGLE, 0); // full: the focus stays
        EXPECT_EQ(dlg.focusWidget(), &dlg.m_moonImage);
    }
}

TEST_F(WindowTest, CompactFirstCentringStandsTenPixelsLow) {
    AppSettings stored;
    stored.bFull = false;
    Store(stored);
    CNorvaleDlg& dlg = Start();
    const PixelRect rect = dlg.ReadWindowRect();
    EXPECT_EQ(rect.top, CentredCorner(dlg).y());
    EXPECT_EQ(rect.top - (ScreenRect().height() / 2 - rect.Height() / 2), 10);
}

TEST_F(WindowTest, EscapeEndsWithoutTouchingTheFile) {
    // Flag bytes 2, an unknown index and a trailing byte: all kept as they are.
    std::filesystem::create_directories(SettingsFile().parent_path());
    const Bytes original{10, 0, 0, 0, 20, 0, 0, 0, 12, 0, 0, 0, 2, 2, 99};
    {
        std::ofstream out(SettingsFile(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(original.data()),
                  static_cast<std::streamsize>(original.size()));
    }
    CNorvaleDlg& dlg = Start();
    dlg.OnCommand(ID_SOUTHERN, 0);
    dlg.DatePicker().setFocus();
    QTest::keyClick(&dlg.DatePicker(), Qt::Key_Escape);
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.Result(), IDCANCEL);
    EXPECT_EQ(FileBytes(), original);
}

TEST_F(WindowTest, EndingsThatSaveStoreTheCornerAndEveryField) {
    enum class Ending { EnterWithoutButton, EnterInPicker, CloseRequest, MenuClose };
    for (const Ending ending : {Ending::EnterWithoutButton, Ending::EnterInPicker,
                                Ending::CloseRequest, Ending::MenuClose}) {
        SCOPED_TRACE(static_cast<int>(ending));
        std::filesystem::remove_all(SettingsFile().parent_path());
        CNorvaleDlg& dlg = Start();
        dlg.OnCommand(ID_LAYOUT_TOGGLE, 0); // compact: the picture has the focus
        dlg.OnCommand(ID_DATE_FORMAT_FIRST + 2, 0);
        dlg.OnCommand(ID_SOUTHERN, 0);
        dlg.move(123, 45);
        switch (ending) {
        case Ending::EnterWithoutButton:
            QTest::keyClick(&dlg, Qt::Key_Return);
            EXPECT_EQ(dlg.Result(), IDOK);
            break;
        case Ending::EnterInPicker:
            dlg.OnCommand(ID_LAYOUT_TOGGLE, 0); // full again, then into the picker
            dlg.DatePicker().setFocus();
            QTest::keyClick(&dlg.DatePicker(), Qt::Key_Enter);
            EXPECT_EQ(dlg.Result(), IDOK);
            break;
        case Ending::CloseRequest:
            dlg.close();
            EXPECT_EQ(dlg.Result(), IDCANCEL);
            break;
        case Ending::MenuClose:
            dlg.MenuAction(ID_CLOSE)->trigger();
            EXPECT_EQ(dlg.Result(), IDOK);
            break;
        }
        EXPECT_TRUE(dlg.IsEnded());
        const AppSettings saved = Saved();
        EXPECT_EQ(saved.nLeft, 123);
        EXPECT_EQ(saved.nTop, 45);
        EXPECT_EQ(saved.nDateFormat, 2);
        EXPECT_FALSE(saved.bNorthern);
        EXPECT_EQ(saved.bFull, ending == Ending::EnterInPicker);
    }
}

TEST_F(WindowTest, EnterOnTheFocusedMenuButtonOpensTheMenuInsteadOfEnding) {
    CNorvaleDlg& dlg = Start();
    ASSERT_EQ(dlg.focusWidget(), dlg.MenuButton());
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_TRUE(dlg.MenuMain().isVisible());
    dlg.MenuMain().hide();
}

TEST_F(WindowTest, WithoutReadablePositionsTheLoadedCornerIsSavedBack) {
    AppSettings stored;
    stored.nLeft = 321;
    stored.nTop = 99;
    Store(stored);
    m_dlg = std::make_unique<CNorvaleDlg>();
    m_dlg->SetWindowPositionsKnown(false);
    m_dlg->Create();
    m_dlg->move(0, 0);
    m_dlg->OnCommand(ID_CLOSE, 0);
    EXPECT_EQ(Saved().nLeft, 321);
    EXPECT_EQ(Saved().nTop, 99);
}

TEST_F(WindowTest, ToggleTrianglePointsUpInFullAndDownInCompact) {
    CNorvaleDlg& dlg = Start();
    const QColor fill = dlg.ToggleFillColour();
    const QColor background = dlg.palette().color(QPalette::Window);
    QImage full = dlg.grab().toImage();
    // Full: the apex is at the top (73, 210), the base on row 214.
    EXPECT_NE(full.pixelColor(73, 212), background);
    EXPECT_EQ(full.pixelColor(73, 209), background);
    dlg.OnCommand(ID_LAYOUT_TOGGLE, 0);
    QImage compact = dlg.grab().toImage();
    // Compact: the base on row 181, the apex at (73, 185).
    EXPECT_NE(compact.pixelColor(73, 183), background);
    EXPECT_NE(compact.pixelColor(70, 181), background);
    EXPECT_EQ(compact.pixelColor(70, 184), background);
    EXPECT_EQ(compact.pixelColor(73, 183).rgb(), fill.rgb());
}

} // namespace
} // namespace norvale::test
