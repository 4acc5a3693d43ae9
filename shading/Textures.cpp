#include "shading/Textures.h"

#include "shading/Bmp.h"
#include "shading/DeviceScale.h"

#include <algorithm>
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
    d.lit = DecodeOrPlain(encoded.lit, encoded.litSize, scale, Rgb(200, 208, 218), ok);
    d.dark = DecodeOrPlain(encoded.dark, encoded.darkSize, scale, Rgb(51, 56, 62), ok);
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
// tiles.
struct Tap {
    std::int32_t index;
    float weight;
};

std::vector<std::vector<Tap>> Taps(std::int32_t from, std::int32_t to) {
    const double ratio = static_cast<double>(from) / to;
    const double half = std::max(ratio, 1.0) / 2.0;
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
    for (std::int32_t i = 0; i < to; ++i) {
        const double centre = (i + 0.5) * ratio;
        const double begin = centre - half;
        const double end = centre + half;
        for (auto j = static_cast<std::int32_t>(std::floor(begin)); j < end; ++j) {
            const double covered = std::min<double>(j + 1, end) - std::max<double>(j, begin);
            if (covered > 0.0) {
                const std::int32_t wrapped = ((j % from) + from) % from;
                taps[static_cast<std::size_t>(i)].push_back(
                    {wrapped, static_cast<float>(covered / (end - begin))});
            }
        }
    }
    return taps;
}

BmpImage Resampled(const TextureView& from, std::int32_t width, std::int32_t height) {
    const auto columns = Taps(from.width, width);
    const auto rows = Taps(from.height, height);
    // Across first: `width` samples of three channels for each source row.
    const auto line = static_cast<std::size_t>(width) * 3;
    std::vector<float> across(line * static_cast<std::size_t>(from.height));
    for (std::int32_t y = 0; y < from.height; ++y) {
        float* out = &across[static_cast<std::size_t>(y) * line];
        for (std::int32_t x = 0; x < width; ++x, out += 3) {
            for (const Tap& tap : columns[static_cast<std::size_t>(x)]) {
                const std::uint32_t texel = from.At(tap.index, y);
                out[0] += tap.weight * static_cast<float>(texel >> 16 & 0xFFu);
                out[1] += tap.weight * static_cast<float>(texel >> 8 & 0xFFu);
                out[2] += tap.weight * static_cast<float>(texel & 0xFFu);
            }
        }
    }
    // Then down, a whole row at a time.
    BmpImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    std::vector<float> sum(line);
    for (std::int32_t y = 0; y < height; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (const Tap& tap : rows[static_cast<std::size_t>(y)]) {
            const float* in = &across[static_cast<std::size_t>(tap.index) * line];
            for (std::size_t i = 0; i < line; ++i) {
                sum[i] += tap.weight * in[i];
            }
        }
        auto channel = [](float v) {
            return static_cast<std::uint32_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
        };
        std::uint32_t* out = &image.pixels[static_cast<std::size_t>(y) * width];
        for (std::int32_t x = 0; x < width; ++x) {
            const float* rgb = &sum[static_cast<std::size_t>(x) * 3];
            out[x] = Rgb(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]));
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

const MoonTextures& BuiltInTexturesAt(double scale) {
    scale = ClampDeviceScale(scale);
    if (IsWholeDeviceScale(scale)) {
        return BuiltInTextures(static_cast<int>(scale));
    }
    const auto width = static_cast<std::int32_t>(std::lround(TextureWidth * scale));
    const auto height = static_cast<std::int32_t>(std::lround(TextureHeight * scale));
    static std::mutex mutex;
    static std::map<std::pair<std::int32_t, std::int32_t>, std::unique_ptr<ResampledPair>> made;
    const std::lock_guard lock(mutex);
    std::unique_ptr<ResampledPair>& pair = made[{width, height}];
    if (!pair) {
        const MoonTextures& twice = BuiltInTextures(2);
        pair = std::make_unique<ResampledPair>();
        pair->lit = Resampled(twice.lit, width, height);
        pair->dark = Resampled(twice.dark, width, height);
        pair->views.lit = {pair->lit.pixels.data(), width, height};
        pair->views.dark = {pair->dark.pixels.data(), width, height};
    }
    return pair->views;
}

bool BuiltInTexturesAvailable() {
    return DecodedOnce(1).available && DecodedOnce(2).available;
}

} // namespace norvale
