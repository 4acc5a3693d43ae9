// Date navigation: the labels, the picker's month-wrap correction, the bounds
// of the picker and the publishing of the shown day.
#include "tests/app/window_fixture.h"

#include "core/Moon.h"
#include "core/Texts.h"

#include <QSignalSpy>
#include <QTest>

#include <string>

namespace norvale::test {
namespace {

SystemTime Fields(int y, int mo, int d, int h = 10, int mi = 0, int s = 0) {
    return MakeSystemTime(y, mo, d, h, mi, s);
}

std::string Text(const DateValue& v) {
    return v.Format("%Y-%m-%d %H:%M:%S");
}

class NavigationTest : public WindowTest {
protected:
    DateValue PickerValue() {
        SystemTime st;
        EXPECT_EQ(Dlg().DatePicker().GetTime(st), CDatePicker::GetResult::Valid);
        DateValue v;
        v.FromSystemTime(st);
        return v;
    }
    std::string PickerText() { return Text(PickerValue()); }

    // Selects a day as "Next" from the day before does, which arms the
    // month-wrap correction.
    void SelectArmed(int y, int mo, int d) {
        DateValue v;
        v.FromFields(y, mo, d, 10, 0, 0);
        SystemTime before;
        ASSERT_TRUE((v - OneDay).ToFields(before));
        Dlg().DatePicker().SetTime(before);
        Dlg().OnNext();
        ASSERT_FALSE(Dlg().m_bSuppressDayWrap);
    }

    // Every handler leaves the picker, the picture, the selection and the six
    // menu texts on one day, with one mark.
    void ExpectPublished(const std::string& expected) {
        EXPECT_EQ(PickerText(), expected);
        EXPECT_EQ(Text(Dlg().m_selectedDate), expected);
        EXPECT_EQ(Text(Dlg().m_moonImage.m_date), expected);
        const DateValue shown = PickerValue();
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(ItemText(ID_DATE_FORMAT_FIRST + i).toStdString(),
                      shown.Format(DateFormatPattern(i, false)));
        }
        EXPECT_EQ(MarkedFormats(), std::vector<int>{ID_DATE_FORMAT_FIRST + 5});
    }

    void SpinDay(int steps) {
        Dlg().DatePicker().setCurrentSection(QDateTimeEdit::DaySection);
        Dlg().DatePicker().stepBy(steps);
    }
};

TEST_F(NavigationTest, PickerStartsAtTheClockAndTheShownDayIsNow) {
    CNorvaleDlg& dlg = Start();
    EXPECT_EQ(PickerText(), "2026-12-06 12:00:00");
    EXPECT_EQ(Text(dlg.m_selectedDate), "2026-12-06 12:00:00");
    EXPECT_EQ(Text(dlg.m_moonImage.m_date), "2026-12-06 12:00:00");
    EXPECT_TRUE(dlg.m_bSuppressDayWrap);
    EXPECT_EQ(dlg.DatePicker().text(), QStringLiteral("06-Dec-2026"));
}

TEST_F(NavigationTest, ArmedCorrectionTurnsTheDayWrapIntoAMonthStep) {
    struct Case {
        const char* name;
        int y, mo, d, steps;
        const char* expected;
    };
    const Case cases[] = {
        {"31 January up wraps to 1 January", 2027, 1, 31, 1, "2027-02-01 10:00:00"},
        {"1 March 2008 down wraps to 31 March", 2008, 3, 1, -1, "2008-02-29 10:00:00"},
        {"15 May to 14 is taken", 2027, 5, 15, -1, "2027-05-14 10:00:00"},
        {"15 May to 16 is taken", 2027, 5, 15, 1, "2027-05-16 10:00:00"},
        {"15 May to 13 reads as a forward step", 2027, 5, 15, -2, "2027-05-16 10:00:00"},
        {"15 May to 17 reads as a backward step", 2027, 5, 15, 2, "2027-05-14 10:00:00"},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SelectArmed(c.y, c.mo, c.d);
        SpinDay(c.steps);
        ExpectPublished(c.expected);
    }
}

TEST_F(NavigationTest, KeyInThePickerDisarmsBeforeItsChangeIsReported) {
    CNorvaleDlg& dlg = Start();
    std::vector<std::string> events;
    QObject::connect(&dlg.DatePicker(), &CDatePicker::KeyDown, [&] { events.push_back("key"); });
    QObject::connect(&dlg.DatePicker(), &CDatePicker::DateTimeChange, [&] {
        events.push_back(dlg.m_bSuppressDayWrap ? "change disarmed" : "change armed");
    });
    SelectArmed(2027, 1, 31);
    dlg.DatePicker().setFocus();
    dlg.DatePicker().setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(&dlg.DatePicker(), Qt::Key_Up);
    EXPECT_EQ(events, (std::vector<std::string>{"key", "change disarmed"}));
    ExpectPublished("2027-01-01 10:00:00");
}

TEST_F(NavigationTest, FreshStartTakesTheWrapAsItIs) {
    CNorvaleDlg& dlg = Start();
    dlg.DatePicker().SetTime(Fields(2027, 1, 31));
    dlg.m_selectedDate.FromFields(2027, 1, 31, 10, 0, 0);
    SpinDay(1);
    ExpectPublished("2027-01-01 10:00:00");
}

TEST_F(NavigationTest, StepsKeepTheTimeOfDayAcrossMonthEnds) {
    CNorvaleDlg& dlg = Start();
    dlg.DatePicker().SetTime(Fields(2009, 2, 28, 23, 30));
    dlg.OnNext();
    ExpectPublished("2009-03-01 23:30:00");
    dlg.OnPrev();
    ExpectPublished("2009-02-28 23:30:00");
}

TEST_F(NavigationTest, DoubleClicksStepTwiceAndTodayOnce) {
    CNorvaleDlg& dlg = Start();
    dlg.DatePicker().SetTime(Fields(2027, 3, 10));
    // A double click arrives as a press, a release and the double click.
    const auto doubleClick = [](QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton);
        QTest::mouseDClick(w, Qt::LeftButton);
    };
    doubleClick(&dlg.m_nextLink);
    ExpectPublished("2027-03-12 10:00:00");
    doubleClick(&dlg.m_prevLink);
    ExpectPublished("2027-03-10 10:00:00");
    int paints = 0;
    struct Counter : QObject {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) {
                ++*count;
            }
            return false;
        }
    } counter(&paints);
    dlg.m_moonImage.installEventFilter(&counter);
    doubleClick(&dlg.m_todayLink);
    dlg.m_moonImage.removeEventFilter(&counter);
    ExpectPublished("2026-12-06 12:00:00");
    EXPECT_EQ(paints, 1);
}

TEST_F(NavigationTest, TodayLeavesTheCorrectionSwitchAlone) {
    CNorvaleDlg& dlg = Start();
    for (const bool armed : {true, false}) {
        dlg.m_bSuppressDayWrap = !armed;
        dlg.OnToday();
        EXPECT_EQ(dlg.m_bSuppressDayWrap, !armed);
        ExpectPublished("2026-12-06 12:00:00");
    }
}

TEST_F(NavigationTest, DoubleClickOnThePictureGoesToToday) {
    CNorvaleDlg& dlg = Start();
    dlg.DatePicker().SetTime(Fields(1969, 7, 20, 20, 17));
    dlg.OnNext();
    QTest::mouseDClick(&dlg.m_moonImage, Qt::LeftButton, {}, QPoint(60, 60));
    ExpectPublished("2026-12-06 12:00:00");
}

TEST_F(NavigationTest, StepsNeverWrapThePickerToTheOtherEnd) {
    struct Case {
        SystemTime start;
        bool forward;
        int year;
    };
    const Case cases[] = {
        {Fields(1900, 1, 1, 14), false, 1900},
        {Fields(1900, 1, 1, 12, 59, 59), false, 1900},
        {Fields(1900, 1, 2, 10), false, 1900},
        {Fields(9999, 1, 1, 10), true, 9999},
        {Fields(9998, 12, 31, 23, 59, 59), true, 9999},
    };
    CNorvaleDlg& dlg = Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start.wYear);
        ASSERT_TRUE(dlg.DatePicker().SetTime(c.start));
        for (int i = 0; i < 3; ++i) {
            c.forward ? dlg.OnNext() : dlg.OnPrev();
            EXPECT_EQ(PickerValue().Year(), c.year);
        }
        // The picture and the menu follow the picker's bound, not the far end.
        EXPECT_EQ(ItemText(ID_DATE_FORMAT_FIRST + 5).endsWith(QString::number(c.year)), true);
    }
}

TEST_F(NavigationTest, PickerAdapterWritesSilentlyAndClamps) {
    CNorvaleDlg& dlg = Start();
    CDatePicker& picker = dlg.DatePicker();
    QSignalSpy changes(&picker, &CDatePicker::DateTimeChange);
    struct Case {
        SystemTime in;
        const char* shown;
    };
    const Case cases[] = {
        {Fields(1899, 12, 31, 13), "1900-01-01 12:59:59"},
        {Fields(1900, 1, 1, 10), "1900-01-01 12:59:59"},
        {Fields(9999, 1, 2, 0), "9999-01-01 12:59:59"},
        {Fields(9999, 1, 1, 13), "9999-01-01 12:59:59"},
        {Fields(2024, 2, 29, 6, 7, 8), "2024-02-29 06:07:08"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(picker.SetTime(c.in));
        EXPECT_EQ(PickerText(), c.shown);
    }
    EXPECT_FALSE(picker.SetTime(Fields(2023, 2, 29)));
    EXPECT_FALSE(picker.SetTime(Fields(2023, 13, 1)));
    EXPECT_FALSE(picker.SetNoDate());
    EXPECT_EQ(PickerText(), "2024-02-29 06:07:08");
    picker.SetFormat(QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(PickerText(), "2024-02-29 06:07:08"); // the time of day survives
    EXPECT_EQ(changes.count(), 0);
    EXPECT_FALSE(picker.calendarPopup());
}

} // namespace
} // namespace norvale::test
