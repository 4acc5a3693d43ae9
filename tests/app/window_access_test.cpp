// What screen readers see of the main window, read through Qt's
// accessibility interfaces: the picture's three text lines, the links, the
// picker and the "Menu" button.
#include "tests/app/window_fixture.h"

#include <QAccessible>
#include <QPushButton>

#include <string>
#include <utility>

namespace norvale::test {
namespace {

// The offscreen platform has no accessibility bridge, so QAccessible stays
// inactive (setActive only informs observers) and no change events go out;
// the interfaces themselves answer all the same, which is what is read here.
class AccessibilityTest : public WindowTest {
protected:
    static QAccessibleInterface* Interface(QObject* object) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
        EXPECT_NE(iface, nullptr);
        return iface;
    }

    static std::string Name(QObject* object) {
        QAccessibleInterface* iface = Interface(object);
        return iface != nullptr ? iface->text(QAccessible::Name).toStdString() : "";
    }

    static std::string Description(QObject* object) {
        QAccessibleInterface* iface = Interface(object);
        return iface != nullptr ? iface->text(QAccessible::Description).toStdString() : "";
    }
};

TEST_F(AccessibilityTest, PictureNamesTheShownDayAndDescribesAgeAndIllumination) {
    CNorvaleDlg& dlg = Start();
    QObject* picture = &dlg.m_moonImage;
    EXPECT_EQ(Name(picture), "Today: 06 Dec, Sunday");
    EXPECT_EQ(Description(picture), "27.03 day, Waning Crescent, 17.0% illuminated");

    struct Step {
        void (CNorvaleDlg::*handler)();
        const char* name;
        const char* description;
    };
    const Step steps[] = {
        {&CNorvaleDlg::OnNext, "Future: 07 Dec, Monday",
         "28.03 day, Waning Crescent, 10.2% illuminated"},
        {&CNorvaleDlg::OnPrev, "Today: 06 Dec, Sunday",
         "27.03 day, Waning Crescent, 17.0% illuminated"},
        {&CNorvaleDlg::OnPrev, "History: 05 Dec, Saturday",
         "26.03 day, Waning Crescent, 23.7% illuminated"},
        {&CNorvaleDlg::OnToday, "Today: 06 Dec, Sunday",
         "27.03 day, Waning Crescent, 17.0% illuminated"},
    };
    for (const Step& step : steps) {
        (dlg.*step.handler)();
        EXPECT_EQ(Name(picture), step.name);
        EXPECT_EQ(Description(picture), step.description);
    }
}

// A hidden or minimised window paints nothing; the picture's text still
// follows every new day.
TEST_F(AccessibilityTest, PictureTextFollowsTheDayWhileTheWindowIsHiddenOrMinimised) {
    CNorvaleDlg& dlg = Start();
    QObject* picture = &dlg.m_moonImage;
    const std::pair<const char*, void (QWidget::*)()> ways[] = {
        {"hidden", &QWidget::hide},
        {"minimised", &QWidget::showMinimized},
    };
    for (const auto& [way, put] : ways) {
        SCOPED_TRACE(way);
        dlg.OnToday();
        (dlg.*put)();
        dlg.OnNext();
        EXPECT_EQ(Name(picture), "Future: 07 Dec, Monday");
        EXPECT_EQ(Description(picture), "28.03 day, Waning Crescent, 10.2% illuminated");
        dlg.showNormal();
    }
}

TEST_F(AccessibilityTest, LinksAreLinksDescribedByTheirTooltips) {
    CNorvaleDlg& dlg = Start();
    const struct {
        CSimpleLink* link;
        const char* name;
        const char* description;
    } links[] = {
        {&dlg.m_prevLink, "Prev", "Previous Day"},
        {&dlg.m_todayLink, "Today", "Go to Today"},
        {&dlg.m_nextLink, "Next", "Next Day"},
    };
    for (const auto& expected : links) {
        SCOPED_TRACE(expected.name);
        QAccessibleInterface* iface = Interface(expected.link);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::Link);
        EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), expected.name);
        EXPECT_EQ(iface->text(QAccessible::Description).toStdString(), expected.description);
        EXPECT_EQ(iface->text(QAccessible::Description), expected.link->toolTip());
    }
}

// The picker and the button are named in both layouts (in the compact one
// they are hidden, and keep their names for the switch back).
TEST_F(AccessibilityTest, PickerAndMenuButtonHaveNames) {
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "full" : "compact");
        AppSettings stored;
        stored.bFull = full;
        Store(stored);
        CNorvaleDlg& dlg = Start();
        QAccessibleInterface* picker = Interface(&dlg.DatePicker());
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->text(QAccessible::Name).toStdString(), "Date");
        EXPECT_EQ(picker->role(), QAccessible::SpinBox);
        QAccessibleInterface* button = Interface(dlg.MenuButton());
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(QAccessible::Name).toStdString(), "Menu");
        EXPECT_EQ(button->role(), QAccessible::Button);
        EXPECT_EQ(button->state().invisible, !full);
        dlg.OnCancel();
        m_dlg.reset();
    }
}

} // namespace
} // namespace norvale::test
