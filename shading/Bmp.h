#pragma once

// Reader for exactly one bitmap form: an uncompressed 8-bit, 256-colour,
// bottom-up Windows BMP with a 40-byte information header. Everything else is
// rejected with a message; the reader never looks past the given size.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace norvale {

struct BmpImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    // 0xFFRRGGBB per pixel, top row first.
    std::vector<std::uint32_t> pixels;
};

// Parses data[0 .. size). On failure returns false, leaves out empty and puts
// a one-line reason into error.
bool ReadBmp(const std::uint8_t* data, std::size_t size, BmpImage& out, std::string& error);

// The same bitmap as it is stored: one palette index per pixel, top row
// first, and the 256 colours (0xFFRRGGBB). ReadBmp is this with each index
// looked up; the same checks, the same reasons.
struct BmpIndexed {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> indices;
    std::array<std::uint32_t, 256> palette{};
};
bool ReadBmpIndexed(const std::uint8_t* data, std::size_t size, BmpIndexed& out,
                    std::string& error);

} // namespace norvale
