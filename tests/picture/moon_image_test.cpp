// The picture control with a stand-in for the main window.

#include "core/Clock.h"
#include "core/Moon.h"
#include "core/Texts.h"
#include "picture/MoonImage.h"
#include "picture/Panel.h"
#include "place/PlaceSky.h"
#include "skytext/SkyText.h"
#include "tests/support/TestSupport.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QToolTip>

#include <clocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace norvale {
namespace {

constexpr std::int64_t FixedNow = 1796601600; // 2026-12-07 00:00:00 UTC

class FakeHost : public MoonImageHost {
public:
    bool IsNorthern() const override {
        ++hemisphereReads;
        return northern;
    }
    void OnToday() override { ++todayCalls; }
    void OpenMenuAt(const QPoint& globalPos) override { menus.push_back(globalPos); }

    bool northern = true;
    mutable int hemisphereReads = 0;
    int todayCalls = 0;
    std::vector<QPoint> menus;
};

DateValue Day(int year, int month, int day, int hour = 12) {
    DateValue v;
    v.FromFields(year, month, day, hour, 0, 0);
    return v;
}

class MoonImageTest : public ::testing::Test {
protected:
    MoonImageTest() : clock(ClockSeam(), test::FixedClock(FixedNow)) {
        image.resize(PanelWidth, PanelHeight);
        image.Attach(&host);
        image.SetStarSeedSource([] { return 5u; });
    }

    QImage Shot() { return image.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    test::ScopedOverride<ClockSource> clock;
    // The tooltip reads the place file: never the real home folder's.
    test::TempConfigHome config{"norvale-picture"};
    FakeHost host;
    CMoonImage image;
};

TEST_F(MoonImageTest, AttachTakesTheGeometryOfItsSizeAndNow) {
    EXPECT_EQ(image.Geometry().m_moonRect, (PixelRect{12, 5, 123, 116}));
    EXPECT_EQ(image.Geometry().m_dayStep, 7);
    EXPECT_EQ(image.m_date.value, DateValue::Now().value);
    EXPECT_EQ(image.m_date.status, DateStatus::valid);

    CMoonImage fresh;
    EXPECT_EQ(fresh.m_date.value, 0.0);
    EXPECT_FALSE(fresh.IsAttached());
}

// At a device pixel ratio of 2 (QT_SCALE_FACTOR=2) the control paints the
// panel at twice the resolution, at 1.25 or 1.75 at that device size (never a
// whole-scale panel stretched); otherwise the 1x panel.
TEST_F(MoonImageTest, PaintsWhatThePanelRendererProducesInTheHostsHemisphere) {
    const double scale = image.devicePixelRatioF();
    const QString factor = qEnvironmentVariable("QT_SCALE_FACTOR");
    if (factor == QStringLiteral("2")) {
        EXPECT_EQ(scale, 2);
        EXPECT_EQ(Shot().size(), QSize(2 * PanelWidth, 2 * PanelHeight));
    }
    if (factor == QStringLiteral("1.25")) {
        EXPECT_EQ(scale, 1.25);
        EXPECT_EQ(Shot().size(), QSize(169, 195)); // 168.75 x 195 device pixels
    }
    // A grab is the widget's size times the scale rounded (236 at 1.75), the
    // panel that size rounded up (237): the grab shows all the panel it can.
    const QSize grabbed = Shot().size();
    auto expected = [scale, grabbed](const DateValue& date, bool northern) {
        QImage panel = RenderPanelImage(PanelWidth, PanelHeight, date, northern, 5, scale);
        EXPECT_LE(panel.width() - grabbed.width(), 1);
        EXPECT_LE(panel.height() - grabbed.height(), 1);
        panel = panel.copy(0, 0, std::min(panel.width(), grabbed.width()),
                           std::min(panel.height(), grabbed.height()));
        panel.setDevicePixelRatio(1.0);
        return panel;
    };
    auto shot = [this] {
        QImage s = Shot();
        s.setDevicePixelRatio(1.0);
        return s;
    };
    image.m_date = Day(2026, 12, 20);
    EXPECT_EQ(shot(), expected(image.m_date, true));
    const int reads = host.hemisphereReads;
    host.northern = false;
    EXPECT_EQ(shot(), expected(image.m_date, false));
    EXPECT_GT(host.hemisphereReads, reads);

    // The geometry stays that of the attach when the widget grows later.
    image.resize(PanelWidth + 20, PanelHeight + 10);
    const QImage grown = shot();
    const QImage first = expected(image.m_date, false);
    EXPECT_EQ(grown.copy(0, 0, first.width(), first.height()), first);
    EXPECT_EQ(
        grown.pixel(static_cast<int>((PanelWidth + 10) * scale), static_cast<int>(20 * scale)),
        qRgb(0, 0, 0));
}

TEST_F(MoonImageTest, DoubleClickGoesToToday) {
    QTest::mouseDClick(&image, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_EQ(host.todayCalls, 1);
    EXPECT_TRUE(host.menus.empty());
    QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_EQ(host.todayCalls, 1);
}

TEST_F(MoonImageTest, RightButtonReleaseOpensTheMenuAtThePointer) {
    const QPoint at(30, 140);
    QTest::mousePress(&image, Qt::RightButton, {}, at);
    EXPECT_TRUE(host.menus.empty()); // not on the press
    QTest::mouseRelease(&image, Qt::RightButton, {}, at);
    ASSERT_EQ(host.menus.size(), 1u);
    EXPECT_EQ(host.menus[0], image.mapToGlobal(at));
    QTest::mouseRelease(&image, Qt::LeftButton, {}, at);
    EXPECT_EQ(host.menus.size(), 1u);
    EXPECT_EQ(host.todayCalls, 0);
}

TEST_F(MoonImageTest, ScreenReadersGetTheThreeLines) {
    image.m_date = Day(2002, 1, 16);
    image.RefreshAccessibleText();
    QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(&image);
    ASSERT_NE(a11y, nullptr);
    EXPECT_EQ(a11y->text(QAccessible::Name), QString::fromStdString(DayCaption(image.m_date)));
    EXPECT_EQ(
        a11y->text(QAccessible::Description),
        QString::fromStdString(AgeText(image.m_date) + ", " + IlluminationText(image.m_date)));
    // A paint of a new day updates them too.
    image.m_date = Day(2026, 12, 20);
    (void)Shot();
    EXPECT_EQ(a11y->text(QAccessible::Name), QString::fromStdString(DayCaption(image.m_date)));
}

// The tooltip and the accessible help text give the true sky at the shown
// local date and time: at 2026-12-07 12:00 the Moon is 2.4 % lit (TZ=UTC),
// where the panel's calendar model says 10.2 %; 12:00 in Berlin is an hour
// earlier (2.5 %). They follow the shown day, say when the year has no
// figures, keep the decimal point in a German locale, and leave the
// accessible name and description the panel's lines.
TEST_F(MoonImageTest, TooltipAndHelpTextGiveTheTrueSkyOfTheShownDay) {
    QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(&image);
    ASSERT_NE(a11y, nullptr);
    const QPoint at(60, 60);
    auto hover = [&] {
        QHelpEvent tip(QEvent::ToolTip, at, image.mapToGlobal(at));
        QApplication::sendEvent(&image, &tip);
    };
    struct Case {
        DateValue date;
        const char* zone;
        const char* text;
    };
    const Case cases[] = {
        {Day(2026, 12, 7), "UTC",
         "True sky at 2026-12-07 12:00 UTC\nIlluminated: 2.4%\nAge: 28.21 days\n"
         "Next new moon: 2026-12-09 00:52 UTC\nNext full moon: 2026-12-24 01:28 UTC"
         "\nNo place for moonrise: norvale-cli --set-place PLACE stores one"},
        {Day(2026, 12, 8), "UTC",
         "True sky at 2026-12-08 12:00 UTC\nIlluminated: 0.4%\nAge: 29.21 days\n"
         "Next new moon: 2026-12-09 00:52 UTC\nNext full moon: 2026-12-24 01:28 UTC"
         "\nNo place for moonrise: norvale-cli --set-place PLACE stores one"},
        {Day(2026, 12, 7), "Europe/Berlin",
         "True sky at 2026-12-07 12:00 CET\nIlluminated: 2.5%\nAge: 28.17 days\n"
         "Next new moon: 2026-12-09 01:52 CET\nNext full moon: 2026-12-24 02:28 CET"
         // The place: the time zone's city, its rise, transit and set that day.
         "\nBerlin, from the time zone\nMoonrise: 06:51 CET\n"
         "Transit: 10:37 CET at 12.2 degrees\nMoonset: 14:15 CET"},
        {Day(2250, 1, 1), "UTC",
         "True sky at 2250-01-01 12:00\nFigures are given only for the years 1800 to 2200."
         "\nNo place for moonrise: norvale-cli --set-place PLACE stores one"},
        {DateValue(0.0, DateStatus::invalid), "UTC",
         "No true sky for a day that cannot be placed."},
    };
    for (const Case& c : cases) {
        const test::ScopedTimeZone zone(c.zone);
        image.m_date = c.date;
        (void)Shot(); // a paint of the new day
        EXPECT_EQ(a11y->text(QAccessible::Help).toStdString(), c.text);
        hover();
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text().toStdString(), c.text);
        // The name and the description stay the panel's lines.
        EXPECT_EQ(a11y->text(QAccessible::Name), QString::fromStdString(DayCaption(c.date)));
        EXPECT_EQ(a11y->text(QAccessible::Description),
                  QString::fromStdString(AgeText(c.date) + ", " + IlluminationText(c.date)));
    }
    // A tooltip of a day no longer shown goes with the next day's paint (Qt
    // hides it after a short fade).
    image.m_date = Day(2026, 12, 7);
    (void)Shot();
    hover();
    ASSERT_TRUE(QToolTip::isVisible());
    image.m_date = Day(2026, 12, 8);
    (void)Shot();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(a11y->text(QAccessible::Name).toStdString(), "Future: 08 Dec, Tuesday");
    EXPECT_EQ(a11y->text(QAccessible::Description).toStdString(),
              "29.03 day, Waning Crescent, 3.4% illuminated");

    // A decimal comma in the locale changes nothing.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        const std::string german =
            skytext::TrueSkyText(Day(2026, 12, 7)) + PlaceSkyText(Day(2026, 12, 7));
        std::setlocale(LC_NUMERIC, "C");
        EXPECT_EQ(german, cases[0].text);
    }
}

} // namespace
} // namespace norvale
