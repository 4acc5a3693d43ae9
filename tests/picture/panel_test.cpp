// The panel: fonts, text rows, stars under the disk and the texts, PNG output.

#include "core/Clock.h"
#include "core/Moon.h"
#include "core/Texts.h"
#include "panel/PanelFace.h"
#include "panel/PanelText.h"
#include "picture/Panel.h"
#include "shading/Shading.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestSupport.h"
#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>

namespace norvale {
namespace {

// 2026-12-07 00:00:00 UTC; the tests run with TZ=UTC.
constexpr std::int64_t FixedNow = 1796601600;

DateValue Day(int year, int month, int day, int hour = 12, int minute = 0) {
    DateValue v;
    v.FromFields(year, month, day, hour, minute, 0);
    return v;
}

TEST(CreateStyledFont, StyleTable) {
    struct Case {
        int style;
        bool bold;
        bool italic;
        bool underline;
    };
    const Case cases[] = {{0, false, false, false}, {1, true, false, false},
                          {2, false, true, false},  {3, true, true, false},
                          {4, false, false, true},  {5, false, false, false},
                          {-1, false, false, false}};
    for (const Case& c : cases) {
        const QFont f = CreateStyledFont(c.style, -11, QStringLiteral("Tahoma"));
        EXPECT_EQ(f.bold(), c.bold) << c.style;
        EXPECT_EQ(f.italic(), c.italic) << c.style;
        EXPECT_EQ(f.underline(), c.underline) << c.style;
        EXPECT_FALSE(f.strikeOut());
        EXPECT_EQ(f.pixelSize(), 11);
    }
    // A positive height is the whole cell.
    const QFont cell = CreateStyledFont(0, 14, QStringLiteral("Tahoma"));
    EXPECT_LE(QFontMetrics(cell).height(), 14);
    EXPECT_GE(QFontMetrics(cell).height(), 11);
}

TEST(CreateStyledFont, TahomaFallsBackToOneCondensedFace) {
    const QString resolved = ResolvedFontFace(QStringLiteral("Tahoma"));
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        EXPECT_EQ(resolved, QStringLiteral("Tahoma"));
        return;
    }
    EXPECT_EQ(resolved, QStringLiteral("DejaVu Sans Condensed"));
    EXPECT_TRUE(QFontDatabase::hasFamily(resolved)) << "install fonts-dejavu-extra";
    // The panel's own face follows the same rule.
    ASSERT_TRUE(PanelFace());
    EXPECT_EQ(QString::fromStdString(PanelFace()->family), resolved);
}

// The face rule is written twice, over QFontDatabase for the window and over
// fontconfig for the panel; both must take Tahoma exactly when a font of
// that family is installed, and the condensed face otherwise. The fonts are
// the condensed face, and for Tahoma a copy of it that fontconfig's scan
// renames.
TEST(CreateStyledFont, WindowAndPanelTakeTheSameFamily) {
    const auto condensed = FindInstalledFace(PanelFallbackFamily);
    ASSERT_TRUE(condensed) << "install fonts-dejavu-extra";
    struct Row {
        bool tahoma;
        std::string family;
    };
    const Row rows[] = {{false, PanelFallbackFamily}, {true, PanelFaceFamily}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.family);
        const test::TempFolder folder("norvale-face-rule");
        const std::filesystem::path fonts = folder.Path() / "fonts";
        std::filesystem::create_directories(fonts);
        std::filesystem::copy_file(condensed->path, fonts / "Condensed.ttf");
        std::string config = "<?xml version=\"1.0\"?>\n<fontconfig>\n<dir>" + fonts.string() +
                             "</dir>\n<cachedir>" + (folder.Path() / "fc-cache").string() +
                             "</cachedir>\n";
        if (row.tahoma) {
            std::filesystem::copy_file(condensed->path, fonts / "Tahoma.ttf");
            config += "<match target=\"scan\"><test name=\"file\"><string>" +
                      (fonts / "Tahoma.ttf").string() +
                      "</string></test><edit name=\"family\" mode=\"assign_replace\">"
                      "<string>Tahoma</string></edit></match>\n";
        }
        std::ofstream(folder.Path() / "fonts.conf") << config << "</fontconfig>\n";
        const test::ChildOutcome probe =
            test::RunProgram(NORVALE_FACE_RULE_PROBE, {},
                             {{"FONTCONFIG_FILE", (folder.Path() / "fonts.conf").string()},
                              {"FONTCONFIG_PATH", std::nullopt},
                              {"QT_QPA_PLATFORM", "offscreen"},
                              {"XDG_CACHE_HOME", (folder.Path() / "cache").string()},
                              {"HOME", (folder.Path() / "home").string()}});
        EXPECT_EQ(probe.exitCode, 0) << probe.err;
        EXPECT_EQ(probe.out, row.family + "\n" + row.family + "\n") << probe.err;
    }
}

TEST(Panel, LongestTextsFitThePanel) {
    for (const char* text :
         {"History: 31 Dec, Wednesday", "29.49 day, Waning Crescent", "100.0% illuminated",
          "Future: 30 Sep, Wednesday", "14.76 day, Waxing Gibbous"}) {
        EXPECT_LE(TextLeft + PanelTextWidth(text, 1), PanelWidth) << text;
    }
    // The three rows start below the disk.
    EXPECT_GE(PanelHeight - CaptionRowFromBottom, 116);
}

bool IsGrey(QRgb p) {
    return qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) > 0;
}

struct Boxes {
    QRect rows[3];
};

Boxes TextBoxes(const DateValue& date) {
    const auto rects = PanelTextBoxes(MakeMoonDay(date, DateValue::Now()), PanelHeight, 1);
    Boxes b;
    for (int i = 0; i < 3; ++i) {
        const PixelRect& r = rects[static_cast<std::size_t>(i)];
        b.rows[i] = QRect(r.left, r.top, r.Width(), r.Height());
    }
    return b;
}

TEST(Panel, TextRowsStarsAndDisk) {
    const test::ScopedOverride clock(ClockSeam(), test::FixedClock(FixedNow));
    const DateValue date = Day(2002, 1, 16);
    const Boxes boxes = TextBoxes(date);
    EXPECT_EQ(boxes.rows[0].top(), 118);
    EXPECT_EQ(boxes.rows[1].top(), 129);
    EXPECT_EQ(boxes.rows[2].top(), 141);

    for (std::uint32_t seed : {1u, 7u, 1796601600u}) {
        const QImage image = RenderPanelImage(PanelWidth, PanelHeight, date, true, seed);
        ASSERT_EQ(image.size(), QSize(PanelWidth, PanelHeight));

        // Text pixels (white and its anti-aliased greys) lie only inside the boxes,
        // and every row has some.
        int textPixels[3] = {0, 0, 0};
        for (int y = 116; y < PanelHeight; ++y) {
            for (int x = 0; x < PanelWidth; ++x) {
                if (!IsGrey(image.pixel(x, y))) {
                    continue;
                }
                bool inside = false;
                for (int i = 0; i < 3; ++i) {
                    if (boxes.rows[i].contains(x, y)) {
                        inside = true;
                        ++textPixels[i];
                        break;
                    }
                }
                ASSERT_TRUE(inside) << x << "," << y;
            }
        }
        for (int count : textPixels) {
            EXPECT_GT(count, 50);
        }

        // Each star of the generator shows unless the disk or a text box covers it.
        const PictureGeometry g = ComputeGeometry(PanelWidth, PanelHeight);
        const double r = g.Diameter() / 2.0;
        StarRandom random(seed);
        int shown = 0;
        std::set<std::pair<int, int>> stars;
        for (int i = 0; i < PanelStarCount; ++i) {
            const int y = random.Next() % PanelHeight;
            const int x = random.Next() % PanelWidth;
            stars.insert({x, y});
            const double dx = x + 0.5 - (g.m_moonRect.left + r);
            const double dy = y + 0.5 - (g.m_moonRect.top + r);
            bool covered = dx * dx + dy * dy < r * r;
            for (const QRect& box : boxes.rows) {
                covered = covered || box.contains(x, y);
            }
            const bool isStar = image.pixel(x, y) == QColor(200, 200, 255).rgb();
            EXPECT_EQ(isStar, !covered) << seed << ": " << x << "," << y;
            shown += isStar ? 1 : 0;
        }
        EXPECT_GT(shown, 10);
        // No star colour anywhere else.
        for (int y = 0; y < PanelHeight; ++y) {
            for (int x = 0; x < PanelWidth; ++x) {
                if (image.pixel(x, y) == QColor(200, 200, 255).rgb()) {
                    ASSERT_TRUE(stars.count({x, y}) == 1) << x << "," << y;
                }
            }
        }
    }
}

TEST(Panel, SameSeedSamePictureAndViewsShareTheTexts) {
    const test::ScopedOverride clock(ClockSeam(), test::FixedClock(FixedNow));
    const DateValue date = Day(2026, 12, 1);
    const QImage a = RenderPanelImage(PanelWidth, PanelHeight, date, true, 42);
    EXPECT_EQ(a, RenderPanelImage(PanelWidth, PanelHeight, date, true, 42));
    EXPECT_NE(a, RenderPanelImage(PanelWidth, PanelHeight, date, true, 43));

    const QImage south = RenderPanelImage(PanelWidth, PanelHeight, date, false, 42);
    EXPECT_NE(a, south);
    EXPECT_EQ(a.copy(0, 118, PanelWidth, PanelHeight - 118),
              south.copy(0, 118, PanelWidth, PanelHeight - 118));
}

TEST(Panel, CrescentAfterTheReferenceNewMoon) {
    const test::ScopedOverride clock(ClockSeam(), test::FixedClock(FixedNow));
    const DateValue date = Day(2002, 1, 16);
    ASSERT_GE(PhaseDay(date), 1);
    ASSERT_LE(PhaseDay(date), 6);
    const QImage north = RenderPanelImage(PanelWidth, PanelHeight, date, true, 1);
    // Equator row: bright on the right edge of the disk, dark on the left.
    EXPECT_GT(qRed(north.pixel(118, 60)), 120);
    EXPECT_LT(qRed(north.pixel(30, 60)), 100);
}

TEST(Panel, InvalidDateShowsAFullDiskAndItsTexts) {
    const test::ScopedOverride clock(ClockSeam(), test::FixedClock(FixedNow));
    const DateValue invalid(0.0, DateStatus::invalid);
    ASSERT_EQ(PhaseDay(invalid), -1);
    const QImage image = RenderPanelImage(PanelWidth, PanelHeight, invalid, true, 1);
    EXPECT_GT(qRed(image.pixel(30, 60)), 120);
    EXPECT_GT(qRed(image.pixel(110, 60)), 120);
    EXPECT_EQ(image.pixel(2, 60), qRgb(0, 0, 0)); // nothing painted outside the disk
}

// Twice the resolution: every figure doubled, the same stars as 2 x 2 blocks,
// the texts in the same logical places.
TEST(Panel, DoubleResolutionKeepsTheLayout) {
    const test::ScopedOverride clock(ClockSeam(), test::FixedClock(FixedNow));
    const DateValue date = Day(2002, 1, 16);
    const QImage one = RenderPanelImage(PanelWidth, PanelHeight, date, true, 3);
    const QImage two = RenderPanelImage(PanelWidth, PanelHeight, date, true, 3, 2);
    ASSERT_EQ(two.size(), QSize(2 * PanelWidth, 2 * PanelHeight));
    EXPECT_EQ(two.devicePixelRatio(), 2.0);

    const PictureGeometry g = ScaledGeometry(ComputeGeometry(PanelWidth, PanelHeight), 2);
    EXPECT_EQ(g.m_moonRect, (PixelRect{24, 10, 246, 232}));
    EXPECT_EQ(g.m_dayStep, 14);
    EXPECT_EQ(g.m_arcTop, (PixelPoint{134, 10}));

    // Phase day 3: the crescent on the equator is twice as wide (42 columns,
    // the rim included).
    ASSERT_EQ(PhaseDay(date), 3);
    int lit = 0;
    for (int x = 0; x < two.width(); ++x) {
        const QRgb p = two.pixel(x, 121);
        lit += qRed(p) > 120 || p == qRgb(30, 30, 80) ? 1 : 0; // lit texels and the rim
    }
    EXPECT_EQ(lit, 42);

    // Outside the disk and the texts both pictures agree pixel for block.
    for (int y = 0; y < PanelHeight - CaptionRowFromBottom; ++y) {
        for (int x : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 124, 126, 130, 134}) {
            for (int d = 0; d < 4; ++d) {
                ASSERT_EQ(two.pixel(2 * x + d % 2, 2 * y + d / 2), one.pixel(x, y))
                    << x << "," << y;
            }
        }
    }
    // The text rows are at the doubled rows.
    for (int y = 0; y < 2 * (PanelHeight - CaptionRowFromBottom); ++y) {
        for (int x = 2 * TextLeft; x < 2 * 12; ++x) {
            ASSERT_FALSE(IsGrey(two.pixel(x, y))) << x << "," << y;
        }
    }
    bool text = false;
    for (int x = 2 * TextLeft; x < 2 * 12; ++x) {
        for (int y = 2 * 118; y < 2 * 129; ++y) {
            text = text || IsGrey(two.pixel(x, y));
        }
    }
    EXPECT_TRUE(text);
}

TEST(Panel, OddSizesAndNullImages) {
    const test::ScopedOverride clock(ClockSeam(), test::FixedClock(FixedNow));
    QImage none;
    RenderPanel(none, ComputeGeometry(PanelWidth, PanelHeight),
                MakeMoonDay(Day(2026, 1, 1), DateValue::Now()), true, 1); // nothing to do
    EXPECT_TRUE(none.isNull());
    for (QSize size : {QSize(10, 10), QSize(1, 300), QSize(300, 40), QSize(202, 240)}) {
        const QImage image =
            RenderPanelImage(size.width(), size.height(), Day(2026, 1, 1), true, 5);
        EXPECT_EQ(image.size(), size);
    }
}

} // namespace
} // namespace norvale
