#pragma once

// Reads PNG bytes back with libpng, for tests of what the program encodes.
// Tests that include it link PNG::PNG.

#include <png.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace norvale::test {

struct DecodedPng {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool alpha = false;                // the file stores an alpha channel
    std::vector<std::uint32_t> pixels; // 0xFFRRGGBB, top row first
};

inline std::optional<DecodedPng> DecodePng(const std::vector<std::uint8_t>& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) {
        return std::nullopt;
    }
    DecodedPng out;
    out.width = static_cast<std::int32_t>(image.width);
    out.height = static_cast<std::int32_t>(image.height);
    out.alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        out.pixels.push_back(0xFF000000u | (std::uint32_t{rgb[i]} << 16) |
                             (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
    }
    return out;
}

} // namespace norvale::test
