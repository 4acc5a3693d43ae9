// The window under clock faults: a local-time breakdown that fails, and a
// window left open across midnight.
#include "tests/app/window_fixture.h"
#include "tests/support/TestSupport.h"

#include "core/Moon.h"

#include <QCoreApplication>
#include <QImage>

#include <cstdint>
#include <ctime>
#include <string>
#include <utility>

namespace norvale::test {
namespace {

// The picture's accessible name as last painted (every paint re-texts it):
// the caption, then the age and illumination lines of the shown day.
std::string AgeAndIllumination(CNorvaleDlg& dlg) {
    return AgeText(dlg.m_moonImage.m_date) + ", " + IlluminationText(dlg.m_moonImage.m_date);
}

std::string Caption(CNorvaleDlg& dlg) {
    const std::string name = dlg.m_moonImage.accessibleName().toStdString();
    const std::string lines = ", " + AgeAndIllumination(dlg);
    return name.ends_with(lines) ? name.substr(0, name.size() - lines.size()) : name;
}

std::string Lines(CNorvaleDlg& dlg) {
    const std::string name = dlg.m_moonImage.accessibleName().toStdString();
    return name.ends_with(", " + AgeAndIllumination(dlg)) ? AgeAndIllumination(dlg) : "";
}

// Makes every local-time breakdown fail until it goes out of scope.
class FailingBreakdown {
public:
    FailingBreakdown() {
        LocalTimeBreakdownSeam() = LocalTimeBreakdown([](std::int64_t, std::tm&) { return false; });
    }
    ~FailingBreakdown() { LocalTimeBreakdownSeam() = nullptr; }
    FailingBreakdown(const FailingBreakdown&) = delete;
    FailingBreakdown& operator=(const FailingBreakdown&) = delete;
};

class ClockFaultTest : public WindowTest {
protected:
    // The disk of the picture as painted for the day the picture holds, with
    // fixed stars.
    QImage PaintedDisk() {
        CMoonImage& picture = Dlg().m_moonImage;
        picture.SetStarSeedSource([] { return 7u; });
        const PixelRect& disk = picture.Geometry().m_moonRect;
        return picture.grab()
            .toImage()
            .convertToFormat(QImage::Format_RGB32)
            .copy(disk.left, disk.top, disk.Width(), disk.Height());
    }

    // The disk of a Full Moon day (from a fixed start: the clock may be the
    // one that fails): fully lit.
    QImage FullMoonDisk() {
        DateValue day;
        day.FromFields(2026, 12, 6, 12, 0, 0);
        for (int i = 0; i < 30 && PhaseDay(day) != 14; ++i) {
            day += OneDay;
        }
        EXPECT_EQ(PhaseDay(day), 14);
        const DateValue kept = Dlg().m_moonImage.m_date;
        Dlg().m_moonImage.m_date = day;
        QImage disk = PaintedDisk();
        Dlg().m_moonImage.m_date = kept;
        return disk;
    }

    std::string PickerText() { return Dlg().DatePicker().text().toStdString(); }
};

// "Today" while the breakdown fails publishes an invalid day: the picture
// paints it (a fully lit disk, the texts the date rules give an invalid
// value), the picker refuses the no-date write and keeps its day, and the
// window goes on working; once the breakdown works again "Today" recovers.
TEST_F(ClockFaultTest, TodayWithAFailingBreakdownPublishesAnInvalidDayAndRecovers) {
    CNorvaleDlg& dlg = Start();
    const QImage lit = FullMoonDisk();
    dlg.OnNext();
    ASSERT_NE(PaintedDisk(), lit); // a waning crescent
    {
        const FailingBreakdown failing;
        dlg.OnToday();
        EXPECT_EQ(dlg.m_moonImage.m_date.status, DateStatus::invalid);
        EXPECT_EQ(dlg.m_selectedDate.status, DateStatus::invalid);
        EXPECT_EQ(PhaseDay(dlg.m_moonImage.m_date), -1);
        EXPECT_EQ(Caption(dlg), "Today: Invalid DateTime");
        EXPECT_EQ(Lines(dlg), AgeText(dlg.m_moonImage.m_date) + ", " +
                                  IlluminationText(dlg.m_moonImage.m_date));
        EXPECT_EQ(PaintedDisk(), lit);
        EXPECT_EQ(PickerText(), "07-Dec-2026");
        EXPECT_EQ(ItemText(ID_DATE_FORMAT_FIRST + 5).toStdString(), "07-Dec-2026");

        // The next step starts from the picker's day, as always.
        dlg.OnNext();
        EXPECT_EQ(PickerText(), "08-Dec-2026");
        EXPECT_EQ(dlg.m_moonImage.m_date.status, DateStatus::valid);
        dlg.OnToday(); // invalid again: the recovery starts from there
    }
    dlg.OnToday();
    EXPECT_EQ(dlg.m_moonImage.m_date.status, DateStatus::valid);
    EXPECT_EQ(Caption(dlg), "Today: 06 Dec, Sunday");
    EXPECT_EQ(PickerText(), "06-Dec-2026");
    EXPECT_FALSE(dlg.IsEnded());
}

// A window started while the breakdown fails opens and paints; the picker
// shows its own starting day, and "Today" later finds the real one.
TEST_F(ClockFaultTest, StartWithAFailingBreakdownOpensAndPaints) {
    {
        const FailingBreakdown failing;
        CNorvaleDlg& dlg = Start();
        EXPECT_EQ(dlg.m_moonImage.m_date.status, DateStatus::invalid);
        EXPECT_EQ(Caption(dlg), "Today: Invalid DateTime");
        EXPECT_EQ(PaintedDisk(), FullMoonDisk());
        EXPECT_EQ(PickerText(), "01-Jan-2000");
    }
    Dlg().OnToday();
    EXPECT_EQ(Caption(Dlg()), "Today: 06 Dec, Sunday");
    EXPECT_EQ(PickerText(), "06-Dec-2026");
}

// The caption compares the shown day with the clock at every paint: a window
// open across midnight calls the old day "History" at its next repaint,
// however that repaint comes, and "Today" then shows the new day.
TEST_F(ClockFaultTest, WindowOpenAcrossMidnightRetextsAtTheNextRepaint) {
    const std::int64_t beforeMidnight = kNow + 12 * 3600 - 10; // 23:59:50
    const std::pair<const char*, void (*)(CNorvaleDlg&)> repaints[] = {
        {"repaint", [](CNorvaleDlg& dlg) { dlg.m_moonImage.repaint(); }},
        {"expose",
         [](CNorvaleDlg& dlg) {
             dlg.hide();
             dlg.show();
             EXPECT_TRUE(QTest::qWaitForWindowExposed(&dlg));
             QCoreApplication::processEvents();
         }},
    };
    for (const auto& [how, repaint] : repaints) {
        SCOPED_TRACE(how);
        std::int64_t now = beforeMidnight;
        const test::ScopedOverride clock(ClockSeam(), [&now] { return now; });
        CNorvaleDlg& dlg = Start();
        EXPECT_EQ(Caption(dlg), "Today: 06 Dec, Sunday");

        now += 15;                                        // 00:00:05 on 7 December
        EXPECT_EQ(Caption(dlg), "Today: 06 Dec, Sunday"); // nothing painted yet
        repaint(dlg);
        EXPECT_EQ(Caption(dlg), "History: 06 Dec, Sunday");

        dlg.OnToday();
        EXPECT_EQ(Caption(dlg), "Today: 07 Dec, Monday");
        EXPECT_EQ(PickerText(), "07-Dec-2026");
        dlg.OnCancel();
        m_dlg.reset();
    }
}

} // namespace
} // namespace norvale::test
