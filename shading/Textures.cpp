#include "shading/Textures.h"

#include "shading/Bmp.h"
#include "shading/DeviceScale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "resources/textures/TextureData.h"

namespace norvale {

namespace {

// The mean colours of the two textures.
constexpr std::uint32_t PlainLit = Rgb(200, 208, 218);
constexpr std::uint32_t PlainDark = Rgb(51, 56, 62);

struct Encoded {
    const std::uint8_t* lit = nullptr;
    std::size_t litSize = 0;
    const std::uint8_t* dark = nullptr;
    std::size_t darkSize = 0;
};

struct Decoded {
    bool available = false;
    BmpImage lit;
    BmpImage dark;
    MoonTextures views;
};

BmpImage DecodeOrPlain(const std::uint8_t* data, std::size_t size, int scale, std::uint32_t plain,
                       bool& ok) {
    const std::int32_t width = TextureWidth * scale;
    const std::int32_t height = TextureHeight * scale;
    BmpImage image;
    std::string error;
    if (data != nullptr && ReadBmp(data, size, image, error) && image.width == width &&
        image.height == height) {
        return image;
    }
    ok = false;
    // Textures that cannot be decoded give an even surface of the mean colour.
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), plain);
    return image;
}

Decoded Decode(const Encoded& encoded, int scale) {
    Decoded d;
    bool ok = true;
    d.lit = DecodeOrPlain(encoded.lit, encoded.litSize, scale, PlainLit, ok);
    d.dark = DecodeOrPlain(encoded.dark, encoded.darkSize, scale, PlainDark, ok);
    d.available = ok;
    d.views.lit = {d.lit.pixels.data(), d.lit.width, d.lit.height};
    d.views.dark = {d.dark.pixels.data(), d.dark.width, d.dark.height};
    return d;
}

Encoded EncodedPair(int scale) {
    if (scale == 2) {
        return {MoonLitBmp131x2, MoonLitBmp131x2Size, MoonDarkBmp130x2, MoonDarkBmp130x2Size};
    }
    return {MoonLitBmp131, MoonLitBmp131Size, MoonDarkBmp130, MoonDarkBmp130Size};
}

// Each pair is decoded on its first use only.
const Decoded& DecodedOnce(int scale) {
    if (scale == 2) {
        static const Decoded twice = Decode(EncodedPair(2), 2);
        return twice;
    }
    static const Decoded single = Decode(EncodedPair(1), 1);
    return single;
}

// The source texels (with their weights) behind each of `to` samples of a
// line of `from` texels: the texels under the sample's area, at least one
// texel wide, centred on the sample's centre; the line repeats, as the texture
// tiles. Every sample has `width` taps (unused ones weigh nothing).
struct Taps {
    std::size_t width = 0;
    std::vector<std::int32_t> index;
    std::vector<float> weight;
};

Taps TapsOf(std::int32_t from, std::int32_t to) {
    const double ratio = static_cast<double>(from) / to;
    const double half = std::max(ratio, 1.0) / 2.0;
    Taps taps;
    taps.width = static_cast<std::size_t>(std::ceil(2.0 * half)) + 1;
    taps.index.assign(taps.width * static_cast<std::size_t>(to), 0);
    taps.weight.assign(taps.width * static_cast<std::size_t>(to), 0.0f);
    for (std::int32_t i = 0; i < to; ++i) {
        const double centre = (i + 0.5) * ratio;
        const double begin = centre - half;
        const double end = centre + half;
        std::size_t k = static_cast<std::size_t>(i) * taps.width;
        for (auto j = static_cast<std::int32_t>(std::floor(begin)); j < end; ++j) {
            const double covered = std::min<double>(j + 1, end) - std::max<double>(j, begin);
            if (covered > 0.0) {
                taps.index[k] = ((j % from) + from) % from;
                taps.weight[k] = static_cast<float>(covered / (end - begin));
                ++k;
            }
        }
    }
    return taps;
}

// Which of `size` texels of a line a span [begin, end) of the buffer reads,
// each coordinate taken modulo the size.
std::vector<char> Read(std::int32_t begin, std::int32_t end, std::int32_t size) {
    std::vector<char> read(static_cast<std::size_t>(size), end - begin >= size ? 1 : 0);
    for (std::int32_t i = begin; i < end && end - begin < size; ++i) {
        read[static_cast<std::size_t>(((i % size) + size) % size)] = 1;
    }
    return read;
}

// The 2x pair as it is stored, palette indices and colours, read once for the
// fractional scales. Both textures come from one grey map and share their
// indices; only their palettes differ (and each palette is monotonic).
struct IndexedPair {
    bool ok = false;
    BmpIndexed lit;
    BmpIndexed dark;
};

const IndexedPair& IndexedTwice() {
    static const IndexedPair pair = [] {
        IndexedPair p;
        std::string error;
        const Encoded e = EncodedPair(2);
        p.ok = e.lit != nullptr && e.dark != nullptr &&
               ReadBmpIndexed(e.lit, e.litSize, p.lit, error) &&
               ReadBmpIndexed(e.dark, e.darkSize, p.dark, error);
        for (const BmpIndexed* t : {&p.lit, &p.dark}) {
            p.ok = p.ok && t->width == 2 * TextureWidth && t->height == 2 * TextureHeight;
        }
        return p;
    }();
    return pair;
}

// The indices of `from` resampled to width x height, as fractional indices:
// each the mean of the indices under its area. Only the texels in the columns
// and rows read are worked out; the others are 0.
std::vector<float> ResampledIndices(const BmpIndexed& from, std::int32_t width, std::int32_t height,
                                    const std::vector<char>& readColumn,
                                    const std::vector<char>& readRow) {
    const Taps columns = TapsOf(from.width, width);
    const Taps rows = TapsOf(from.height, height);
    std::vector<std::size_t> outColumns;
    for (std::size_t x = 0; x < readColumn.size(); ++x) {
        if (readColumn[x]) {
            outColumns.push_back(x);
        }
    }
    // The source rows needed, each given a slot in `across`.
    constexpr std::int32_t Unused = -1;
    std::vector<std::int32_t> slotOf(static_cast<std::size_t>(from.height), Unused);
    for (std::size_t y = 0; y < readRow.size(); ++y) {
        for (std::size_t k = y * rows.width; k < (y + 1) * rows.width && readRow[y]; ++k) {
            if (rows.weight[k] > 0.0f) {
                slotOf[static_cast<std::size_t>(rows.index[k])] = 0;
            }
        }
    }
    std::size_t slots = 0;
    for (std::int32_t& slot : slotOf) {
        slot = slot == Unused ? Unused : static_cast<std::int32_t>(slots++);
    }
    // Across first: the columns read, for each source row needed.
    const std::size_t line = outColumns.size();
    std::vector<float> across(line * slots);
    for (std::int32_t y = 0; y < from.height; ++y) {
        const std::int32_t slot = slotOf[static_cast<std::size_t>(y)];
        if (slot == Unused) {
            continue;
        }
        const std::uint8_t* source = from.indices.data() + static_cast<std::size_t>(y) *
                                                               static_cast<std::size_t>(from.width);
        float* out = &across[static_cast<std::size_t>(slot) * line];
        for (std::size_t i = 0; i < line; ++i) {
            float sum = 0.0f;
            const std::size_t first = outColumns[i] * columns.width;
            for (std::size_t k = first; k < first + columns.width; ++k) {
                sum += columns.weight[k] * source[static_cast<std::size_t>(columns.index[k])];
            }
            out[i] = sum;
        }
    }
    // Then down, a whole row at a time.
    std::vector<float> result(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::vector<float> sum(line);
    for (std::int32_t y = 0; y < height; ++y) {
        if (!readRow[static_cast<std::size_t>(y)]) {
            continue;
        }
        std::fill(sum.begin(), sum.end(), 0.0f);
        const std::size_t first = static_cast<std::size_t>(y) * rows.width;
        for (std::size_t k = first; k < first + rows.width; ++k) {
            const float w = rows.weight[k];
            if (w > 0.0f) {
                const std::int32_t slot = slotOf[static_cast<std::size_t>(rows.index[k])];
                const float* in = &across[static_cast<std::size_t>(slot) * line];
                for (std::size_t i = 0; i < line; ++i) {
                    sum[i] += w * in[i];
                }
            }
        }
        float* out = &result[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)];
        for (std::size_t i = 0; i < line; ++i) {
            out[outColumns[i]] = sum[i];
        }
    }
    return result;
}

// The colours of fractional indices: each between the two palette entries
// around it, in proportion (to 1/16 of a step, through a table). Texels
// outside the columns and rows read are `plain`.
BmpImage Coloured(const std::vector<float>& index, const std::array<std::uint32_t, 256>& palette,
                  std::int32_t width, std::int32_t height, const std::vector<char>& readColumn,
                  const std::vector<char>& readRow, std::uint32_t plain) {
    constexpr int Steps = 16;
    std::vector<std::uint32_t> table(255 * Steps + 1);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::size_t low = i / Steps;
        const std::size_t high = std::min<std::size_t>(low + 1, 255);
        const auto t = static_cast<std::int32_t>(i % Steps);
        std::uint32_t rgb = 0xFF000000u;
        for (int shift : {16, 8, 0}) {
            const auto from = static_cast<std::int32_t>(palette[low] >> shift & 0xFFu);
            const auto to = static_cast<std::int32_t>(palette[high] >> shift & 0xFFu);
            // from + t / Steps * (to - from), rounded half up (the palettes rise).
            const std::int32_t v = (from * Steps + t * (to - from) + Steps / 2) / Steps;
            rgb |= static_cast<std::uint32_t>(v) << shift;
        }
        table[i] = rgb;
    }
    BmpImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), plain);
    for (std::size_t y = 0; y < readRow.size(); ++y) {
        for (std::size_t x = 0; x < readColumn.size() && readRow[y]; ++x) {
            if (readColumn[x]) {
                const std::size_t at = y * static_cast<std::size_t>(width) + x;
                const float v = std::clamp(index[at], 0.0f, 255.0f) * Steps + 0.5f;
                image.pixels[at] = table[static_cast<std::size_t>(v)];
            }
        }
    }
    return image;
}

struct ResampledPair {
    BmpImage lit;
    BmpImage dark;
    MoonTextures views;
};

} // namespace

const MoonTextures& BuiltInTextures() {
    return DecodedOnce(1).views;
}

const MoonTextures& BuiltInTextures(int scale) {
    return DecodedOnce(scale == 2 ? 2 : 1).views;
}

const MoonTextures& BuiltInTexturesAt(double scale, const PixelRect& used) {
    scale = ClampDeviceScale(scale);
    if (IsWholeDeviceScale(scale)) {
        return BuiltInTextures(static_cast<int>(scale));
    }
    const auto width = static_cast<std::int32_t>(std::lround(TextureWidth * scale));
    const auto height = static_cast<std::int32_t>(std::lround(TextureHeight * scale));
    // The parts read are all of a line once they span it.
    const PixelRect key{
        used.Width() >= width ? 0 : used.left, used.Height() >= height ? 0 : used.top,
        used.Width() >= width ? width : used.right, used.Height() >= height ? height : used.bottom};
    static std::mutex mutex;
    static std::map<std::array<std::int32_t, 6>, std::unique_ptr<ResampledPair>> made;
    const std::lock_guard lock(mutex);
    std::unique_ptr<ResampledPair>& pair =
        made[{width, height, key.left, key.top, key.right, key.bottom}];
    if (!pair) {
        pair = std::make_unique<ResampledPair>();
        const IndexedPair& twice = IndexedTwice();
        const std::vector<char> readColumn = Read(key.left, key.right, width);
        const std::vector<char> readRow = Read(key.top, key.bottom, height);
        // Without the built-in data the textures are even surfaces, as at 1x.
        const std::vector<char> none(readRow.size(), 0);
        const std::vector<char>& rows = twice.ok ? readRow : none;
        std::vector<float> lit;
        std::vector<float> dark;
        if (twice.ok) {
            lit = ResampledIndices(twice.lit, width, height, readColumn, readRow);
            dark = twice.dark.indices == twice.lit.indices
                       ? lit
                       : ResampledIndices(twice.dark, width, height, readColumn, readRow);
        }
        pair->lit = Coloured(lit, twice.lit.palette, width, height, readColumn, rows, PlainLit);
        pair->dark = Coloured(dark, twice.dark.palette, width, height, readColumn, rows, PlainDark);
        pair->views.lit = {pair->lit.pixels.data(), width, height};
        pair->views.dark = {pair->dark.pixels.data(), width, height};
    }
    return pair->views;
}

bool BuiltInTexturesAvailable() {
    return DecodedOnce(1).available && DecodedOnce(2).available;
}

} // namespace norvale
