#pragma once

// PNG encoding of the project's RGB buffers, in memory: the caller decides
// where the bytes go (a file written atomically, a pipe, a test).

#include "pixels/Pixels.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace norvale {

// The pixels of image (0xFFRRGGBB, the top byte ignored) as an 8-bit RGB PNG
// without alpha. Empty when the buffer cannot be encoded: no pixels, a width
// or height below 1, a stride shorter than a row, or an encoder failure.
std::vector<std::uint8_t> EncodePng(const PixelBuffer& image);

// The PNG of a picture too large to hold whole: width x height pixels drawn
// a band of rows at a time into one reused buffer (draw fills band, whose
// first row is the picture's row firstRow; band.height rows, the last band
// fewer), each band's rows written as drawn; a helper thread draws the next
// band while this one is compressed (one call of draw at a time, in row
// order). zlib's compression level (0 to
// 9) is the caller's, without row filters: for a 1920 x 1080 Moon level 1
// takes about two thirds of the time of the quick level EncodePng uses, for
// a file 4 % larger. Empty when the picture cannot be encoded.
using BandPainter = std::function<void(const PixelBuffer& band, std::int32_t firstRow)>;
std::vector<std::uint8_t> EncodePngInBands(std::int32_t width, std::int32_t height, int level,
                                           const BandPainter& draw);

} // namespace norvale
