// The panel's text without Qt: the face rule, the widest texts against the
// panel, the crispness of the glyphs and the box each line is drawn in.

#include "core/Moon.h"
#include "core/Texts.h"
#include "panel/PanelDraw.h"
#include "panel/PanelFace.h"
#include "panel/PanelText.h"
#include "shading/DeviceScale.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace norvale {
namespace {

// fontconfig keeps the configuration it loads for the life of the process,
// where the leak checker cannot see it; releasing it after the last test
// leaves the checker only real leaks to report.
class ReleaseFontconfig : public ::testing::Environment {
public:
    void TearDown() override { FcFini(); }
};
const ::testing::Environment* const releaseFontconfig =
    ::testing::AddGlobalTestEnvironment(new ReleaseFontconfig);

TEST(PanelFace, TahomaOnlyWhenInstalledOtherwiseTheCondensedFace) {
    struct Case {
        std::set<std::string> installed;
        bool lastResort;
        std::string expected; // "" for no face
    };
    const Case cases[] = {
        {{"Tahoma", "DejaVu Sans Condensed"}, true, "Tahoma"},
        {{"Tahoma"}, true, "Tahoma"},
        {{"DejaVu Sans Condensed", "DejaVu Sans"}, true, "DejaVu Sans Condensed"},
        {{"DejaVu Sans"}, true, "substitute"},
        {{"DejaVu Sans"}, false, ""},
    };
    for (const Case& c : cases) {
        const FaceFinder find = [&c](const std::string& family) -> std::optional<FontFaceFile> {
            if (c.installed.count(family) == 0) {
                return std::nullopt;
            }
            return FontFaceFile{family, "/fonts/" + family + ".ttf", 0};
        };
        const FaceFinder substitute = [](const std::string&) -> std::optional<FontFaceFile> {
            return FontFaceFile{"substitute", "/fonts/substitute.ttf", 0};
        };
        const auto face = ChoosePanelFace(find, c.lastResort ? substitute : FaceFinder{});
        EXPECT_EQ(face ? face->family : "", c.expected) << c.expected;
    }
}

// On this machine: never fontconfig's substitute for a missing Tahoma (the
// wider DejaVu Sans), and the one file of the condensed face.
TEST(PanelFace, OnThisMachine) {
    const auto& face = PanelFace();
    ASSERT_TRUE(face) << "install fonts-dejavu-extra";
    if (FindInstalledFace(PanelFaceFamily)) {
        EXPECT_EQ(face->family, PanelFaceFamily);
        return;
    }
    EXPECT_EQ(face->family, PanelFallbackFamily);
    EXPECT_EQ(std::filesystem::path(face->path).filename(), "DejaVuSansCondensed.ttf")
        << face->path << ": install fonts-dejavu-extra";
    if (const auto substitute = MatchFace(PanelFaceFamily)) {
        EXPECT_NE(face->path, substitute->path);
    }
}

// Every caption of a full 28-year calendar cycle (each month with each
// weekday and day) under each prefix, every age with every phase name, every
// lit share: the widest of each, measured, fits the 130 pixels from x = 5, at
// scale 1, 2 and the scales between and above (from x = 5 x scale to
// 135 x scale), where the text has a pixel size of its own.
TEST(PanelText, WidestTextsFitThePanel) {
    const DateValue first(36526.0, DateStatus::valid); // 2000-01-01
    const auto captions = [&first](double todayOffset, bool sameDay) {
        std::vector<std::string> texts;
        for (int d = 0; d < 28 * 366; ++d) {
            const DateValue day(first.value + d, DateStatus::valid);
            const DateValue today(sameDay ? day.value : day.value + todayOffset, DateStatus::valid);
            texts.push_back(DayCaption(day, today));
        }
        return texts;
    };
    const auto ages = [] {
        std::vector<std::string> texts;
        for (int hundredths = 0; hundredths < 2954; ++hundredths) {
            for (int phaseDay = -1; phaseDay < 28; ++phaseDay) {
                texts.push_back(AgeText(hundredths / 100.0, phaseDay));
            }
        }
        return texts;
    };
    const auto shares = [] {
        std::vector<std::string> texts;
        for (int tenths = 0; tenths <= 1000; ++tenths) {
            texts.push_back(IlluminationText(tenths / 10.0));
        }
        return texts;
    };
    struct Row {
        const char* what;
        std::function<std::vector<std::string>()> texts;
    };
    const Row rows[] = {
        {"History captions", [&] { return captions(1000.0, false); }},
        {"Future captions", [&] { return captions(-1000.0, false); }},
        {"Today captions", [&] { return captions(0.0, true); }},
        {"invalid day",
         [] {
             const DateValue invalid(0.0, DateStatus::invalid);
             return std::vector<std::string>{DayCaption(invalid, DateValue(1.0, DateStatus::valid)),
                                             AgeText(invalid), IlluminationText(invalid)};
         }},
        {"ages", ages},
        {"lit shares", shares},
    };
    for (const Row& row : rows) {
        const std::vector<std::string> texts = row.texts();
        for (double scale : {1.0, 2.0, 1.1, 1.25, 1.5, 1.6, 1.75, 3.0}) {
            std::string widest;
            std::int32_t width = -1;
            for (const std::string& text : texts) {
                const std::int32_t w = PanelTextWidth(text, scale);
                if (w > width) {
                    width = w;
                    widest = text;
                }
            }
            const std::int32_t left = DeviceCoordinate(TextLeft, scale);
            const std::int32_t right = DeviceCoordinate(PanelWidth, scale);
            EXPECT_LE(left + width, right)
                << row.what << " at scale " << scale << ": \"" << widest << "\"";
            std::printf("%-16s scale %.2f: widest \"%s\" %d of %d pixels\n", row.what, scale,
                        widest.c_str(), width, right - left);
        }
    }
}

bool IsGrey(std::uint32_t p) {
    return (p >> 16 & 0xFFu) == (p >> 8 & 0xFFu) && (p >> 8 & 0xFFu) == (p & 0xFFu);
}

// The auto-hinter puts the stems on whole pixel columns, so the text is white
// where it is drawn: the median grey over the inked pixels of typical lines
// stays high (soft unhinted stems give about 124 of 255).
TEST(PanelText, GlyphsAreCrisp) {
    for (int scale : {1, 2}) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(140 * 20 * scale * scale));
        const PixelBuffer buffer{pixels.data(), 140 * scale, 20 * scale, 140 * scale};
        std::vector<int> ink;
        for (const char* text :
             {"History: 30 Sep, Wednesday", "28.11 day, Waning Crescent", "48.3% illuminated",
              "Today: 07 Dec, Monday", "7.13 day, First Quarter", "100.0% illuminated"}) {
            const PixelRect box = DrawPanelText(buffer, 0, 0, text, scale);
            for (std::int32_t y = box.top; y < box.bottom; ++y) {
                for (std::int32_t x = box.left; x < box.right; ++x) {
                    if (const int grey = static_cast<int>(buffer.At(x, y) & 0xFFu); grey > 0) {
                        ink.push_back(grey);
                    }
                }
            }
        }
        ASSERT_GT(ink.size(), 1000u);
        std::nth_element(ink.begin(), ink.begin() + ink.size() / 2, ink.end());
        EXPECT_GE(ink[ink.size() / 2], 180) << "scale " << scale;
    }
}

// A line covers exactly its box (as wide as the text, as high as the line)
// and nothing else, however much of the box lies outside the buffer.
TEST(PanelText, DrawsOnlyInsideItsBoxAndTheBuffer) {
    constexpr std::uint32_t Sentinel = 0xFF123456u;
    const std::string text = "Wednesday, 28.11 day";
    struct Case {
        std::int32_t left;
        std::int32_t top;
        bool inked;
    };
    for (int scale : {1, 2, 3}) {
        const PanelLineMetrics line = PanelTextMetrics(scale);
        ASSERT_GT(line.ascent, 0);
        ASSERT_GT(line.descent, 0);
        const std::int32_t width = PanelTextWidth(text, scale);
        const Case cases[] = {{5, 5, true},  {-40, 3, true},   {40, 2, true},     {3, -5, true},
                              {2, 25, true}, {-500, 2, false}, {100, 100, false}, {3, -100, false}};
        for (const Case& c : cases) {
            const std::int32_t w = 70 * scale;
            const std::int32_t h = 30 * scale;
            std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w * h), Sentinel);
            const PixelBuffer buffer{pixels.data(), w, h, w};
            const PixelRect box = DrawPanelText(buffer, c.left * scale, c.top * scale, text, scale);
            EXPECT_EQ(box, (PixelRect{c.left * scale, c.top * scale, c.left * scale + width,
                                      c.top * scale + line.Height()}));
            int inked = 0;
            for (std::int32_t y = 0; y < h; ++y) {
                for (std::int32_t x = 0; x < w; ++x) {
                    const std::uint32_t p = buffer.At(x, y);
                    const bool inBox =
                        x >= box.left && x < box.right && y >= box.top && y < box.bottom;
                    if (!inBox) {
                        ASSERT_EQ(p, Sentinel) << scale << ": " << x << "," << y;
                        continue;
                    }
                    ASSERT_TRUE(IsGrey(p) && p >> 24 == 0xFFu) << scale << ": " << x << "," << y;
                    inked += (p & 0xFFu) > 0 ? 1 : 0;
                }
            }
            EXPECT_EQ(inked > 0, c.inked) << scale << ": " << c.left << "," << c.top;
        }
    }
}

// At a scale other than 1 and 2 the line is the 1x line's height times the
// scale (rounded down, so the caption's and the age's boxes still touch
// without overlapping) while the glyphs have a pixel size of their own: every
// glyph of the texts must still fit its line, or its top or its descender is
// cut off.
TEST(PanelText, GlyphsFitTheirLineAtEveryScale) {
    const std::string letters = "HistoryFutureTodayJanFebMarAprMayJunJulAugSepOctNovDec"
                                "SundayMondayTuesdayWednesdayThursdayFridaySaturday"
                                "NewWaxingWaningCrescentFirstLastQuarterGibbousFullMoon"
                                "0123456789%.,: dilumnatedInvalidDT";
    for (double scale : {1.0, 2.0, 1.1, 1.25, 1.5, 1.6, 1.75, 2.5, 3.0}) {
        const PanelLineMetrics line = PanelTextMetrics(scale);
        const PanelInkRows ink = PanelTextInk(letters, scale);
        EXPECT_GT(ink.above, 0);
        EXPECT_LE(ink.above, line.ascent) << "scale " << scale;
        EXPECT_LE(ink.below, line.descent) << "scale " << scale;
        // The rows 118, 129 and 141 of the panel, at the scale.
        EXPECT_LE(DeviceCoordinate(118, scale) + line.Height(), DeviceCoordinate(129, scale))
            << "scale " << scale;
        const PanelTextStyle style = PanelTextStyleAt(scale);
        EXPECT_LE(style.pixels, 10 * scale) << "scale " << scale;
        std::printf("scale %.2f: %d pixels, %s mode, ascent %d descent %d, ink %d above %d below\n",
                    scale, style.pixels, style.light ? "light" : "normal", line.ascent,
                    line.descent, ink.above, ink.below);
    }
}

} // namespace
} // namespace norvale
