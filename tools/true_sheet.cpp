// The pictures of the true Moon in docs/picture.md:
//
//   norvale_true_sheet DOCS_DIR
//
// writes DOCS_DIR/true-lunation.png (one picture a day at 0h UTC through the
// lunation that began 2027-01-07, north up), true-perigee-apogee.png (the
// nearest and the farthest full moon of 2026-2028 at one scale),
// true-zenith-up.png (one instant north up, then as seen from Oslo and from
// Cape Town with each place's zenith up) and true-wallpaper.png (1920 x 1080
// with its lines). Plain C++: the picture library, the sky and libpng.

#include "core/Texts.h"
#include "panel/PanelText.h"
#include "png/Png.h"
#include "sky/MoonOrientation.h"
#include "sky/Sky.h"
#include "truemoon/SkyView.h"
#include "truemoon/TruePicture.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace norvale;

struct Sheet {
    std::int32_t width;
    std::int32_t height;
    std::vector<std::uint32_t> pixels;

    Sheet(std::int32_t w, std::int32_t h)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, Rgb(24, 24, 28)) {}
    PixelBuffer Buffer() { return {pixels.data(), width, height, width}; }
    PixelBuffer At(std::int32_t x, std::int32_t y) {
        return {pixels.data() + static_cast<std::ptrdiff_t>(y) * width + x, width - x, height - y,
                width};
    }
};

std::int64_t Seconds(int year, int month, int day, int hour = 0, int minute = 0) {
    using namespace std::chrono;
    const sys_days date{std::chrono::year{year} / month / day};
    return (sys_seconds{date} + hours{hour} + minutes{minute}).time_since_epoch().count();
}

std::string UtcText(std::int64_t seconds, const char* format) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm utc{};
    ::gmtime_r(&t, &utc);
    char text[64];
    std::strftime(text, sizeof text, format, &utc);
    return text;
}

// One picture of side pixels at an instant, from a place with its zenith up
// or from the Earth's centre with north up, with a caption under it.
void Cell(Sheet& sheet, std::int32_t x, std::int32_t y, std::int32_t side, std::int64_t seconds,
          const std::optional<sky::Site>& place, double moonSize, const std::string& caption) {
    const auto aspect = sky::MoonAspectAt(seconds, place);
    if (!aspect) {
        return;
    }
    const MoonView view = ViewOf(*aspect, place ? aspect->parallacticAngle : 0.0);
    TrueLayout layout = SizedTrueLayout(side, side, moonSize, false);
    layout.stars = 0;
    DrawTruePicture(sheet.At(x, y), layout, view, aspect->SizeScale(), 0, {}, BuiltInLunarMap());
    DrawPanelText(sheet.Buffer(), x + 2, y + side + 2, caption, 1.0);
}

bool Write(const std::string& path, Sheet& sheet) {
    const std::vector<std::uint8_t> bytes = EncodePng(sheet.Buffer());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return !bytes.empty() && static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DOCS_DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;

    // A lunation, one picture a day at 0h UTC from the day after the new moon.
    {
        constexpr int Side = 150;
        constexpr int Columns = 6;
        constexpr int Days = 30;
        Sheet sheet(Columns * (Side + 6), (Days / Columns) * (Side + 20));
        for (int day = 0; day < Days; ++day) {
            const std::int64_t t = Seconds(2027, 1, 8) + day * 86400LL;
            const auto figures = sky::SkyAt(t);
            const std::string caption =
                UtcText(t, "%d %b") +
                (figures ? ", " + FixedText(figures->illuminationPercent, 0) + "%" : std::string());
            Cell(sheet, (day % Columns) * (Side + 6) + 3, (day / Columns) * (Side + 20), Side, t,
                 std::nullopt, 0.9, caption);
        }
        ok = Write(dir + "/true-lunation.png", sheet) && ok;
    }

    // The nearest and the farthest full moon of 2026-2028, at one scale.
    {
        std::optional<std::pair<std::int64_t, double>> nearest;
        std::optional<std::pair<std::int64_t, double>> farthest;
        for (const sky::PhaseInstant& p :
             sky::PhasesBetween(Seconds(2026, 1, 1), Seconds(2028, 12, 31))) {
            if (p.phase != sky::Phase::fullMoon) {
                continue;
            }
            const double km = sky::MoonAspectAt(p.utcSeconds)->distanceKm;
            if (!nearest || km < nearest->second) {
                nearest = {p.utcSeconds, km};
            }
            if (!farthest || km > farthest->second) {
                farthest = {p.utcSeconds, km};
            }
        }
        constexpr int Side = 360;
        Sheet sheet(2 * Side + 12, Side + 16);
        for (int i = 0; i < 2; ++i) {
            const auto& [t, km] = i == 0 ? *nearest : *farthest;
            const std::string caption = UtcText(t, "%Y-%m-%d %H:%M UTC, ") +
                                        std::to_string(static_cast<int>(km + 0.5)) + " km";
            Cell(sheet, i * (Side + 12), 0, Side, t, std::nullopt, 0.85, caption);
        }
        ok = Write(dir + "/true-perigee-apogee.png", sheet) && ok;
    }

    // One evening, north up from the Earth's centre, then from Oslo and from
    // Cape Town (nearly one longitude, either side of the equator) with the
    // zenith up.
    {
        constexpr int Side = 240;
        const std::int64_t t = Seconds(2027, 1, 14, 17, 0);
        Sheet sheet(3 * Side + 24, Side + 16);
        Cell(sheet, 0, 0, Side, t, std::nullopt, 0.8, UtcText(t, "%Y-%m-%d %H:%M UTC, north up"));
        Cell(sheet, Side + 12, 0, Side, t, sky::Site{59.91, 10.75, 0.0}, 0.8, "Oslo, zenith up");
        Cell(sheet, 2 * (Side + 12), 0, Side, t, sky::Site{-33.92, 18.42, 0.0}, 0.8,
             "Cape Town, zenith up");
        ok = Write(dir + "/true-zenith-up.png", sheet) && ok;
    }

    // A wallpaper with its lines.
    {
        const std::int64_t t = Seconds(2027, 1, 20, 0);
        const auto aspect = sky::MoonAspectAt(t);
        const auto figures = sky::SkyAt(t);
        const MoonView view = ViewOf(*aspect, 0.0);
        const std::array<std::string, 3> lines = {
            FixedText(aspect->illuminatedFraction * 100.0, 1) + "% illuminated",
            "Age " + FixedText(figures->ageDays, 2) + " days",
            "Full Moon " + UtcText(figures->nextFullMoon, "%d %b %H:%M")};
        const std::vector<std::uint8_t> bytes =
            TruePicturePng(SizedTrueLayout(1920, 1080, DefaultMoonSize, true), view,
                           aspect->SizeScale(), 7, lines);
        std::ofstream out(dir + "/true-wallpaper.png", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        ok = ok && !bytes.empty() && static_cast<bool>(out);
    }
    if (!ok) {
        std::fprintf(stderr, "cannot write the pictures into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
