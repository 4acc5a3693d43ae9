#include "picture/Textures.h"

#include "picture/Bmp.h"

#include <string>
#include <vector>

#if defined(NORVALE_HAVE_TEXTURES)
#include "resources/textures/TextureData.h"
#endif

namespace norvale {

namespace {

struct Decoded {
    bool available = false;
    BmpImage lit;
    BmpImage dark;
    MoonTextures views;
};

BmpImage DecodeOrPlain(const std::uint8_t* data, std::size_t size, std::uint32_t plain, bool& ok) {
    BmpImage image;
    std::string error;
    if (data != nullptr && ReadBmp(data, size, image, error) && image.width == TextureWidth &&
        image.height == TextureHeight) {
        return image;
    }
    ok = false;
    // A build without the generated textures draws an even surface.
    image.width = TextureWidth;
    image.height = TextureHeight;
    image.pixels.assign(static_cast<std::size_t>(TextureWidth) * TextureHeight, plain);
    return image;
}

Decoded Decode() {
    Decoded d;
    bool ok = true;
#if defined(NORVALE_HAVE_TEXTURES)
    d.lit = DecodeOrPlain(MoonLitBmp131, MoonLitBmp131Size, Rgb(200, 208, 218), ok);
    d.dark = DecodeOrPlain(MoonDarkBmp130, MoonDarkBmp130Size, Rgb(51, 56, 62), ok);
#else
    d.lit = DecodeOrPlain(nullptr, 0, Rgb(200, 208, 218), ok);
    d.dark = DecodeOrPlain(nullptr, 0, Rgb(51, 56, 62), ok);
#endif
    d.available = ok;
    d.views.lit = {d.lit.pixels.data(), d.lit.width, d.lit.height};
    d.views.dark = {d.dark.pixels.data(), d.dark.width, d.dark.height};
    return d;
}

const Decoded& DecodedOnce() {
    static const Decoded decoded = Decode();
    return decoded;
}

} // namespace

const MoonTextures& BuiltInTextures() {
    return DecodedOnce().views;
}

bool BuiltInTexturesAvailable() {
    return DecodedOnce().available;
}

} // namespace norvale
