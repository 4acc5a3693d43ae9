// What screen readers see of the main window, read through Qt's
// accessibility interfaces: the picture's three text lines, the links, the
// picker and the "Menu" button.
#include "tests/app/window_fixture.h"

#include "controls/HelpWindow.h"
#include "ui/Contrast.h"

#include <QApplication>
#include <QTextBrowser>
#include <QTextDocument>

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

// The picture is an image named by its three lines and described by the true
// sky; "Menu" and the picker are described by the same three lines, so a
// screen reader hears a new day wherever the focus is (the picture's name
// change, the picker's or the button's description change).
TEST_F(AccessibilityTest, EveryFocusPlaceCarriesTheShownDay) {
    CNorvaleDlg& dlg = Start();
    QObject* picture = &dlg.m_moonImage;
    QAccessibleInterface* image = Interface(picture);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->role(), QAccessible::Graphic);
    EXPECT_TRUE(image->state().focusable);
    struct Step {
        void (CNorvaleDlg::*handler)();
        const char* day;
    };
    const Step steps[] = {
        {nullptr, "Today: 06 Dec, Sunday, 27.03 day, Waning Crescent, 17.0% illuminated"},
        {&CNorvaleDlg::OnNext, "Future: 07 Dec, Monday, 28.03 day, Waning Crescent, 10.2% "
                               "illuminated"},
        {&CNorvaleDlg::OnPrev, "Today: 06 Dec, Sunday, 27.03 day, Waning Crescent, 17.0% "
                               "illuminated"},
        {&CNorvaleDlg::OnPrev, "History: 05 Dec, Saturday, 26.03 day, Waning Crescent, 23.7% "
                               "illuminated"},
        {&CNorvaleDlg::OnToday, "Today: 06 Dec, Sunday, 27.03 day, Waning Crescent, 17.0% "
                                "illuminated"},
    };
    for (const Step& step : steps) {
        if (step.handler != nullptr) {
            (dlg.*step.handler)();
        }
        EXPECT_EQ(Name(picture), step.day);
        EXPECT_EQ(Description(&dlg.DatePicker()), step.day);
        EXPECT_EQ(Description(dlg.MenuButton()), step.day);
        EXPECT_EQ(Description(picture).substr(0, 12), "True sky at ");
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
        EXPECT_EQ(Name(picture),
                  "Future: 07 Dec, Monday, 28.03 day, Waning Crescent, 10.2% illuminated");
        dlg.showNormal();
    }
}

// The windows are windows named by their titles, not fillers; the picture's
// border is a plain container, not a "frame" (a window to screen readers).
TEST_F(AccessibilityTest, WindowsAreWindowsNamedByTheirTitles) {
    CNorvaleDlg& dlg = Start();
    QAccessibleInterface* window = Interface(&dlg);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name).toStdString(), "Norvale");
    QAccessibleInterface* border = Interface(dlg.PictureFrame());
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->role(), QAccessible::Client);
    CHelpWindow::ShowSection(QString());
    ASSERT_NE(CHelpWindow::Instance(), nullptr);
    QAccessibleInterface* help = Interface(CHelpWindow::Instance());
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->role(), QAccessible::Window);
    EXPECT_EQ(help->text(QAccessible::Name).toStdString(), "Norvale Help");
    CHelpWindow::CloseAll();
}

// The toggle triangle and the picture's focus mark reach 3:1, the help's links
// 4.5:1, under a light, a mid-grey and a dark scheme: each keeps the scheme's
// colour where that reaches it and otherwise takes one that does (on the
// mid-grey scheme the triangle's shadow and dark colours gave 1.24:1).
TEST_F(AccessibilityTest, TriangleFocusMarkAndHelpLinksReachTheirContrast) {
    const QPalette original = QApplication::palette();
    struct Scheme {
        const char* name;
        QColor window, dark, shadow, highlight, base, link;
    };
    const Scheme schemes[] = {
        {"light",
         {0xef, 0xef, 0xef},
         {0xa0, 0xa0, 0xa0},
         {0x47, 0x47, 0x47},
         {0x30, 0x8c, 0xc6},
         Qt::white,
         {0x00, 0x00, 0xff}},
        {"mid-grey",
         {0x80, 0x80, 0x80},
         {0x70, 0x70, 0x70},
         {0x66, 0x66, 0x66},
         {0x20, 0x30, 0x60},
         {0x88, 0x88, 0x88},
         {0x30, 0x30, 0xc0}},
        {"dark",
         {0x35, 0x35, 0x35},
         {0x23, 0x23, 0x23},
         {0x14, 0x14, 0x14},
         {0x2a, 0x82, 0xda},
         {0x19, 0x19, 0x19},
         {0x00, 0x00, 0xff}},
    };
    for (const Scheme& scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        QPalette colours = original;
        colours.setColor(QPalette::Window, scheme.window);
        colours.setColor(QPalette::Dark, scheme.dark);
        colours.setColor(QPalette::Shadow, scheme.shadow);
        colours.setColor(QPalette::Highlight, scheme.highlight);
        colours.setColor(QPalette::Base, scheme.base);
        colours.setColor(QPalette::Link, scheme.link);
        QApplication::setPalette(colours);
        CNorvaleDlg& dlg = Start();
        CHelpWindow::ShowSection(QString());
        const struct {
            const char* what;
            QColor used, preferred, against;
            double minimum;
        } parts[] = {
            {"outline", dlg.ToggleOutlineColour(), scheme.shadow, scheme.window, 3.0},
            {"fill", dlg.ToggleFillColour(), scheme.dark, scheme.window, 3.0},
            {"focus mark", dlg.m_moonImage.FocusMarkColour(), scheme.highlight, Qt::black, 3.0},
            {"help link", CHelpWindow::Instance()->LinkColour(), scheme.link, scheme.base, 4.5},
        };
        for (const auto& part : parts) {
            SCOPED_TRACE(part.what);
            EXPECT_GE(ContrastRatio(part.used, part.against), part.minimum);
            if (ContrastRatio(part.preferred, part.against) >= part.minimum) {
                EXPECT_EQ(part.used, part.preferred);
            }
        }
        // The page is drawn in that colour.
        const QString html = CHelpWindow::Instance()->Browser()->document()->toHtml();
        EXPECT_TRUE(html.contains(CHelpWindow::Instance()->LinkColour().name()));
        CHelpWindow::CloseAll();
        dlg.OnCancel();
        m_dlg.reset();
    }
    QApplication::setPalette(original);
}

// The picker's value on the accessibility bus is its day (days since
// 1899-12-30): Qt's spin box reads and sets it and steps it for Increase and
// Decrease. A day set that way is shown as a typed one is; one outside the
// range is refused.
TEST_F(AccessibilityTest, ThePickersValueIsItsDay) {
    CNorvaleDlg& dlg = Start();
    QAccessibleValueInterface* value = Interface(&dlg.DatePicker())->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toDouble(), 46362.0);   // 2026-12-06
    EXPECT_EQ(value->minimumValue().toDouble(), 2.0);       // 1900-01-01
    EXPECT_EQ(value->maximumValue().toDouble(), 2958101.0); // 9999-01-01
    EXPECT_EQ(value->minimumStepSize().toDouble(), 1.0);
    const struct {
        double set;
        double held;
        const char* caption;
    } cases[] = {
        {46363.0, 46363.0, "Future: 07 Dec, Monday"},
        {37269.0, 37269.0, "History: 13 Jan, Sunday"}, // 2002-01-13
        {1.0, 37269.0, "History: 13 Jan, Sunday"},     // 1899-12-31: refused
        {2958102.0, 37269.0, "History: 13 Jan, Sunday"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        value->setCurrentValue(c.set);
        EXPECT_EQ(value->currentValue().toDouble(), c.held);
        EXPECT_EQ(Name(&dlg.m_moonImage).substr(0, std::string(c.caption).size()), c.caption);
    }
    EXPECT_TRUE(dlg.m_bSuppressDayWrap); // as typed: no month-wrap correction
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
