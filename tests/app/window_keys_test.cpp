// The window's keys: Shift+F10 and the Menu key open the pop-up menu in both
// layouts whatever has the focus; Alt+Left, Alt+Home and Alt+Right do what a
// click on "Prev", "Today" and "Next" does; a year typed outside the picker's
// range keeps the day.
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>

namespace norvale::test {
namespace {

std::string Text(const DateValue& v) {
    return v.Format("%Y-%m-%d %H:%M:%S");
}

class KeysTest : public WindowTest {
protected:
    CNorvaleDlg& StartIn(bool full) {
        AppSettings stored;
        stored.bFull = full;
        Store(stored);
        CNorvaleDlg& dlg = Start();
        dlg.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
        return dlg;
    }

    // Where a key goes: the focus widget, or the window when nothing has it.
    QWidget* KeyTarget() {
        QWidget* focus = Dlg().focusWidget();
        return focus != nullptr ? focus : &Dlg();
    }

    std::string PickerText() {
        SystemTime st;
        EXPECT_EQ(Dlg().DatePicker().GetTime(st), CDatePicker::GetResult::Valid);
        DateValue v;
        v.FromSystemTime(st);
        return Text(v);
    }

    // The picker, the picture and the selection all show one day.
    void ExpectShown(const std::string& expected) {
        EXPECT_EQ(PickerText(), expected);
        EXPECT_EQ(Text(Dlg().m_selectedDate), expected);
        EXPECT_EQ(Text(Dlg().m_moonImage.m_date), expected);
    }
};

enum class Focus { StartUp, Picker };

TEST_F(KeysTest, MenuKeysOpenTheMenuInBothLayoutsWhateverHasTheFocus) {
    struct Case {
        bool full;
        Focus focus;
        QKeyCombination key;
    };
    const Case cases[] = {
        {true, Focus::StartUp, Qt::SHIFT | Qt::Key_F10},
        {true, Focus::StartUp, QKeyCombination(Qt::Key_Menu)},
        {true, Focus::Picker, Qt::SHIFT | Qt::Key_F10},
        {true, Focus::Picker, QKeyCombination(Qt::Key_Menu)},
        {false, Focus::StartUp, Qt::SHIFT | Qt::Key_F10},
        {false, Focus::StartUp, QKeyCombination(Qt::Key_Menu)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.full ? "full" : "compact") << ", "
                                        << (c.focus == Focus::Picker ? "picker" : "start-up focus")
                                        << ", key " << c.key.toCombined());
        CNorvaleDlg& dlg = StartIn(c.full);
        if (c.focus == Focus::Picker) {
            dlg.DatePicker().setFocus();
        }
        QTest::keyClick(KeyTarget(), c.key.key(), c.key.keyboardModifiers());
        ASSERT_TRUE(dlg.MenuMain().isVisible());
        const QPoint expected =
            c.full ? dlg.MenuButton()->mapToGlobal(QPoint(0, dlg.MenuButton()->height()))
                   : dlg.m_moonImage.mapToGlobal(QPoint(0, 0));
        EXPECT_EQ(dlg.MenuMain().pos(), expected);
        EXPECT_EQ(dlg.MenuMain().activeAction(), dlg.MenuAction(ID_LAYOUT_TOGGLE));
        EXPECT_FALSE(dlg.IsEnded());
        dlg.MenuMain().hide();
        EXPECT_EQ(dlg.DatePicker().dateTime().date(), QDate(2026, 12, 6)); // nothing typed
        m_dlg.reset();
    }
}

// The compact layout has no "Menu" button; the keyboard still reaches the
// menu, and through it the full layout and "Close".
TEST_F(KeysTest, CompactLayoutIsNoKeyboardTrap) {
    CNorvaleDlg& dlg = StartIn(false);
    QTest::keyClick(KeyTarget(), Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_TRUE(dlg.MenuMain().isVisible());
    QTest::keyClick(&dlg.MenuMain(), Qt::Key_Return); // "Full"
    EXPECT_TRUE(dlg.Settings().bFull);
    EXPECT_TRUE(dlg.MenuButton()->isVisible());
}

// The Menu key reaches the focused picker also as a keyboard context-menu
// request (X11, Wayland); the picker must not open its own edit menu for it.
// A right click still opens that one.
TEST_F(KeysTest, PickerOpensNoMenuOfItsOwnForTheMenuKey) {
    CNorvaleDlg& dlg = StartIn(true);
    dlg.DatePicker().setFocus();
    for (const auto reason : {QContextMenuEvent::Keyboard, QContextMenuEvent::Mouse}) {
        SCOPED_TRACE(reason == QContextMenuEvent::Keyboard ? "keyboard" : "mouse");
        QString shown = QStringLiteral("none");
        QTimer::singleShot(0, &dlg, [&shown] {
            if (QWidget* popup = QApplication::activePopupWidget(); popup != nullptr) {
                shown = QString::fromLatin1(popup->metaObject()->className());
                popup->close();
            }
        });
        QContextMenuEvent event(reason, QPoint(5, 5), dlg.DatePicker().mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&dlg.DatePicker(), &event);
        if (reason == QContextMenuEvent::Keyboard) {
            EXPECT_EQ(shown, QStringLiteral("none"));
        } else {
            QTest::qWait(1); // the timer closes the edit menu the right click opened
            EXPECT_EQ(shown, QStringLiteral("QMenu"));
        }
    }
}

// Alt+Left, Alt+Home and Alt+Right are clicks on "Prev", "Today" and "Next":
// the same day published everywhere, and the same month-wrap state (a step
// arms it, "Today" leaves it), whatever has the focus.
TEST_F(KeysTest, AltArrowsAndAltHomeAreTheLabels) {
    struct Case {
        Qt::Key key;
        const char* shown;
        bool armed;
    };
    const Case cases[] = {
        {Qt::Key_Left, "2027-03-09 10:00:00", true},
        {Qt::Key_Home, "2026-12-06 12:00:00", false},
        {Qt::Key_Right, "2027-03-11 10:00:00", true},
    };
    for (const bool full : {true, false}) {
        for (const Focus focus : {Focus::StartUp, Focus::Picker}) {
            if (!full && focus == Focus::Picker) {
                continue; // no picker to focus in the compact layout
            }
            CNorvaleDlg& dlg = StartIn(full);
            if (focus == Focus::Picker) {
                dlg.DatePicker().setFocus();
            }
            for (const Case& c : cases) {
                SCOPED_TRACE(testing::Message() << (full ? "full" : "compact") << ", focus "
                                                << static_cast<int>(focus) << ", key " << c.key);
                ASSERT_TRUE(dlg.DatePicker().SetTime(MakeSystemTime(2027, 3, 10, 10, 0, 0)));
                dlg.m_bSuppressDayWrap = true;
                QTest::keyClick(KeyTarget(), c.key, Qt::AltModifier);
                ExpectShown(c.shown);
                EXPECT_EQ(dlg.m_bSuppressDayWrap, !c.armed);
            }
            m_dlg.reset();
        }
    }
}

// A day typed outside 1900-01-01 .. 9999-01-01 is dropped when the picker
// is left (Tab, the focus going elsewhere) or Enter is pressed: the picker and
// the picture keep the day they had. A year inside the range is taken.
TEST_F(KeysTest, YearTypedOutsideThePickersRangeKeepsTheDay) {
    enum class Leave { Tab, Enter, FocusElsewhere };
    struct Case {
        const char* year;
        Leave leave;
        const char* shown;
    };
    const Case cases[] = {
        {"1850", Leave::Tab, "2026-12-06 12:00:00"},
        {"1850", Leave::Enter, "2026-12-06 12:00:00"},
        {"1899", Leave::FocusElsewhere, "2026-12-06 12:00:00"},
        {"0999", Leave::Tab, "2026-12-06 12:00:00"},
        {"9999", Leave::Tab, "2026-12-06 12:00:00"}, // after 9999-01-01
        {"1950", Leave::Tab, "1950-12-06 12:00:00"},
        {"1950", Leave::Enter, "1950-12-06 12:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << ", leave " << static_cast<int>(c.leave));
        CNorvaleDlg& dlg = StartIn(true);
        CDatePicker& picker = dlg.DatePicker();
        picker.setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return picker.hasFocus(); }));
        picker.setCurrentSection(QDateTimeEdit::YearSection);
        picker.setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(&picker, QString::fromLatin1(c.year));
        switch (c.leave) {
        case Leave::Tab:
            QTest::keyClick(&picker, Qt::Key_Tab);
            EXPECT_EQ(dlg.focusWidget(), dlg.MenuButton());
            break;
        case Leave::Enter:
            QTest::keyClick(&picker, Qt::Key_Return); // also ends the window, saved
            EXPECT_TRUE(dlg.IsEnded());
            break;
        case Leave::FocusElsewhere:
            dlg.MenuButton()->setFocus();
            break;
        }
        ExpectShown(c.shown);
        EXPECT_EQ(picker.text().right(4).toStdString(), std::string(c.shown, 4));
        m_dlg.reset();
    }
}

} // namespace
} // namespace norvale::test
