#include "panel/PanelText.h"

#include "panel/OpenedFace.h"
#include "panel/PanelFace.h"
#include "panel/PanelLayout.h"
#include "shading/DeviceScale.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

namespace norvale {

namespace {

// FreeType's auto-hinter (the condensed face carries no hinting of its own).
// At 10 pixels in its normal mode: stems snap to whole pixel columns and rows
// and every advance is rounded to whole pixels; these hinted advances keep the
// longest lines within the panel, where the unhinted ones rounded per glyph
// would not. At 20 pixels the stems are two pixels wide and crisp without
// snapping them sideways, and the normal mode's wider advances would push the
// longest caption past the panel's edge: there it only snaps rows (light
// mode), and the advances are the face's own, rounded.
FT_Int32 LoadFlags(bool light) {
    return (light ? FT_LOAD_TARGET_LIGHT : FT_LOAD_TARGET_NORMAL) | FT_LOAD_FORCE_AUTOHINT;
}

// The widest lines of the panel's texts: every caption of a 28-year calendar
// cycle, every age with every phase name and every lit share measured at each
// whole pixel size from 10 to 30 (tests/panel: WidestTextsFitThePanel checks
// them all at the scales it draws).
constexpr std::string_view WidestLines[] = {"History: 03 May, Wednesday",
                                            "10.00 day, Waning Crescent"};

// The light mode from this pixel size up, the normal mode below: from 13
// pixels the normal mode's snapped advances space the letters unevenly and
// its stems are no crisper (the median grey of the inked pixels of typical
// lines: 172 against 166 at 13 pixels, 143 against 175 at 15, 162 against 188
// at 17); at 12 both look alike.
constexpr int LightFromPixels = 12;

// One rendered glyph: its grey levels (coverage after the gamma table), the
// bitmap's offset from the pen on the baseline, and the pen's advance.
struct Glyph {
    std::int32_t left = 0; // bitmap column 0 relative to the pen
    std::int32_t top = 0;  // bitmap row 0 above the baseline
    std::int32_t width = 0;
    std::int32_t rows = 0;
    std::int32_t advance = 0;
    std::vector<std::uint8_t> grey;
};

// The next code point of a UTF-8 text from i; a malformed sequence reads as
// U+FFFD and skips one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    const std::size_t length = lead >= 0xF5   ? 0
                               : lead >= 0xF0 ? 4
                               : lead >= 0xE0 ? 3
                               : lead >= 0xC2 ? 2
                                              : 0;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += length;
    return c;
}

// The panel face opened once, with the glyphs of each style made on first
// use. Every member is used under the mutex.
class TextFace {
public:
    static TextFace& Instance() {
        static TextFace face;
        return face;
    }

    TextFace(const TextFace&) = delete;
    TextFace& operator=(const TextFace&) = delete;

    std::mutex& Mutex() { return m_mutex; }

    bool HasFace() const { return m_face != nullptr; }
    const std::optional<FontFaceFile>& File() const { return m_file; }

    // How the text is drawn at a scale, chosen once per scale.
    struct Look {
        PanelTextStyle style;
        PanelLineMetrics line;
    };

    const Look& LookAt(double scale) {
        scale = ClampDeviceScale(scale);
        auto it = m_looks.find(scale);
        if (it == m_looks.end()) {
            it = m_looks.emplace(scale, Choose(scale)).first;
        }
        return it->second;
    }

    // The glyph of c in a style.
    const Glyph& GlyphOf(char32_t c, const PanelTextStyle& style) {
        Sizes& sizes = m_sizes[{style.pixels, style.light}];
        if (c < sizes.ascii.size()) {
            std::optional<Glyph>& slot = sizes.ascii[c];
            if (!slot) {
                slot = Render(c, style);
            }
            return *slot;
        }
        auto it = sizes.other.find(c);
        if (it == sizes.other.end()) {
            it = sizes.other.emplace(c, Render(c, style)).first;
        }
        return it->second;
    }

    std::int32_t WidthOf(std::string_view text, const PanelTextStyle& style) {
        std::int32_t width = 0;
        for (std::size_t i = 0; i < text.size();) {
            width += GlyphOf(NextCodePoint(text, i), style).advance;
        }
        return width;
    }

private:
    struct Sizes {
        std::array<std::optional<Glyph>, 128> ascii;
        std::unordered_map<char32_t, Glyph> other;
    };

    Look Choose(double scale) {
        if (scale == 1.0) {
            return {{PanelTextPixels, false}, m_metrics};
        }
        if (scale == 2.0) {
            return {{2 * PanelTextPixels, true}, {2 * m_metrics.ascent, 2 * m_metrics.descent}};
        }
        // The widest lines must fit between the scaled left edge of the text
        // and the scaled right edge of the panel.
        const std::int32_t room =
            DeviceCoordinate(PanelWidth, scale) - DeviceCoordinate(TextLeft, scale);
        const auto fits = [this, room](const PanelTextStyle& style) {
            return std::all_of(std::begin(WidestLines), std::end(WidestLines),
                               [&](std::string_view line) { return WidthOf(line, style) <= room; });
        };
        PanelTextStyle chosen{PanelTextPixels, false};
        for (int pixels = std::max(DeviceCoordinate(PanelTextPixels, scale), PanelTextPixels);
             pixels > PanelTextPixels; --pixels) {
            const bool light = pixels >= LightFromPixels;
            if (fits({pixels, light})) {
                chosen = {pixels, light};
                break;
            }
            if (fits({pixels, !light})) {
                chosen = {pixels, !light};
                break;
            }
        }
        // The 1x line's height at the scale; below the baseline, the face's
        // descent at the chosen size.
        const std::int32_t height = DeviceCoordinate(m_metrics.Height(), scale);
        std::int32_t descent = m_metrics.descent;
        if (m_face != nullptr && m_face->units_per_EM > 0) {
            descent = static_cast<std::int32_t>(std::lround(
                -m_face->descender * static_cast<double>(chosen.pixels) / m_face->units_per_EM));
        }
        descent = std::clamp(descent, 0, height);
        return {chosen, {height - descent, descent}};
    }

    TextFace() {
        for (int c = 0; c < 256; ++c) {
            m_gamma[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(
                std::lround(255.0 * std::pow(c / 255.0, 1.0 / PanelTextGamma)));
        }
        const FaceOpener open = [this](const FontFaceFile& file) {
            return m_opened.Open(file, PanelTextPixels);
        };
        const PanelFaceLookUp& lookUp = PanelFaceLookUpSeam();
        m_file = lookUp ? lookUp(open) : FindPanelFace(open);
        m_face = m_opened.Face();
        if (m_face == nullptr) {
            return;
        }
        // The line of the 10-pixel face, rounded as the window's font
        // metrics round it: from the face's own ascender and descender.
        if (m_face->units_per_EM > 0) {
            const double perUnit = static_cast<double>(PanelTextPixels) / m_face->units_per_EM;
            m_metrics.ascent = static_cast<std::int32_t>(std::lround(m_face->ascender * perUnit));
            m_metrics.descent =
                static_cast<std::int32_t>(std::lround(-m_face->descender * perUnit));
        }
    }

    Glyph Render(char32_t c, const PanelTextStyle& style) {
        Glyph glyph;
        if (m_face == nullptr) {
            return glyph;
        }
        if (m_pixels != style.pixels) {
            if (FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(style.pixels)) != 0) {
                return glyph;
            }
            m_pixels = style.pixels;
        }
        // A character the face lacks is drawn as its missing-glyph box.
        const FT_UInt index = FT_Get_Char_Index(m_face, c);
        if (FT_Load_Glyph(m_face, index, LoadFlags(style.light)) != 0 ||
            FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            return glyph;
        }
        const FT_GlyphSlot slot = m_face->glyph;
        glyph.advance = static_cast<std::int32_t>((slot->advance.x + 32) >> 6);
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.buffer == nullptr) {
            return glyph;
        }
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = static_cast<std::int32_t>(bitmap.width);
        glyph.rows = static_cast<std::int32_t>(bitmap.rows);
        glyph.grey.resize(static_cast<std::size_t>(glyph.width) * glyph.rows);
        for (std::int32_t y = 0; y < glyph.rows; ++y) {
            const unsigned char* row =
                bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            for (std::int32_t x = 0; x < glyph.width; ++x) {
                glyph.grey[static_cast<std::size_t>(y * glyph.width + x)] = m_gamma[row[x]];
            }
        }
        return glyph;
    }

    std::mutex m_mutex;
    OpenedFace m_opened;
    std::optional<FontFaceFile> m_file;
    FT_Face m_face = nullptr;
    int m_pixels = 0; // the pixel size the face is set to
    PanelLineMetrics m_metrics;
    std::array<std::uint8_t, 256> m_gamma{};
    std::map<std::pair<int, bool>, Sizes> m_sizes;
    std::map<double, Look> m_looks;
};

// White over the pixel with the glyph's grey level as its coverage.
void Blend(std::uint32_t& pixel, std::uint32_t grey) {
    const std::uint32_t under = pixel & 0xFFu; // the box and the glyphs are grey
    const std::uint32_t v = under + ((255u - under) * grey + 127u) / 255u;
    pixel = Rgb(v, v, v);
}

} // namespace

PanelTextStyle PanelTextStyleAt(double scale) {
    TextFace& face = TextFace::Instance();
    const std::lock_guard lock(face.Mutex());
    return face.LookAt(scale).style;
}

PanelLineMetrics PanelTextMetrics(double scale) {
    TextFace& face = TextFace::Instance();
    const std::lock_guard lock(face.Mutex());
    return face.LookAt(scale).line;
}

std::int32_t PanelTextWidth(std::string_view text, double scale) {
    TextFace& face = TextFace::Instance();
    const std::lock_guard lock(face.Mutex());
    return face.WidthOf(text, face.LookAt(scale).style);
}

PanelInkRows PanelTextInk(std::string_view text, double scale) {
    TextFace& face = TextFace::Instance();
    const std::lock_guard lock(face.Mutex());
    const PanelTextStyle style = face.LookAt(scale).style;
    PanelInkRows ink;
    for (std::size_t i = 0; i < text.size();) {
        const Glyph& glyph = face.GlyphOf(NextCodePoint(text, i), style);
        if (glyph.rows > 0 && glyph.width > 0) {
            ink.above = std::max(ink.above, glyph.top);
            ink.below = std::max(ink.below, glyph.rows - glyph.top);
        }
    }
    return ink;
}

PixelRect DrawPanelText(const PixelBuffer& target, std::int32_t left, std::int32_t top,
                        std::string_view text, double scale) {
    TextFace& face = TextFace::Instance();
    const std::lock_guard lock(face.Mutex());
    const TextFace::Look& look = face.LookAt(scale);
    const PanelLineMetrics line = look.line;
    const PixelRect box{left, top, left + face.WidthOf(text, look.style), top + line.Height()};
    const PixelRect clip{std::max(box.left, 0), std::max(box.top, 0),
                         std::min(box.right, target.width), std::min(box.bottom, target.height)};
    if (target.pixels == nullptr || clip.Width() <= 0 || clip.Height() <= 0) {
        return box;
    }
    for (std::int32_t y = clip.top; y < clip.bottom; ++y) {
        std::fill_n(&target.At(clip.left, y), clip.Width(), Rgb(0, 0, 0));
    }
    const std::int32_t baseline = top + line.ascent;
    std::int32_t pen = left;
    for (std::size_t i = 0; i < text.size();) {
        const Glyph& glyph = face.GlyphOf(NextCodePoint(text, i), look.style);
        const std::int32_t x0 = pen + glyph.left;
        const std::int32_t y0 = baseline - glyph.top;
        const std::int32_t xBegin = std::max(x0, clip.left);
        const std::int32_t xEnd = std::min(x0 + glyph.width, clip.right);
        const std::int32_t yBegin = std::max(y0, clip.top);
        const std::int32_t yEnd = std::min(y0 + glyph.rows, clip.bottom);
        for (std::int32_t y = yBegin; y < yEnd; ++y) {
            const std::uint8_t* row = &glyph.grey[static_cast<std::size_t>((y - y0) * glyph.width)];
            for (std::int32_t x = xBegin; x < xEnd; ++x) {
                if (const std::uint8_t grey = row[x - x0]; grey != 0) {
                    Blend(target.At(x, y), grey);
                }
            }
        }
        pen += glyph.advance;
    }
    return box;
}

bool PanelTextAvailable() {
    TextFace& face = TextFace::Instance();
    const std::lock_guard lock(face.Mutex());
    return face.HasFace();
}

const std::optional<FontFaceFile>& PanelFace() {
    TextFace& face = TextFace::Instance();
    const std::lock_guard lock(face.Mutex());
    return face.File();
}

bool PanelFaceOpens(const FontFaceFile& file) {
    return OpenedFace().Open(file, PanelTextPixels);
}

} // namespace norvale
