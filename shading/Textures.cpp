#include "shading/Textures.h"

#include "shading/Bmp.h"

#include <string>

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

} // namespace

const MoonTextures& BuiltInTextures() {
    return DecodedOnce(1).views;
}

const MoonTextures& BuiltInTextures(int scale) {
    return DecodedOnce(scale == 2 ? 2 : 1).views;
}

bool BuiltInTexturesAvailable() {
    return DecodedOnce(1).available && DecodedOnce(2).available;
}

} // namespace norvale
