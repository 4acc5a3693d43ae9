#pragma once

// PNG encoding of the project's RGB buffers, in memory: the caller decides
// where the bytes go (a file written atomically, a pipe, a test).

#include "pixels/Pixels.h"

#include <cstdint>
#include <vector>

namespace norvale {

// The pixels of image (0xFFRRGGBB, the top byte ignored) as an 8-bit RGB PNG
// without alpha. Empty when the buffer cannot be encoded: no pixels, a width
// or height below 1, a stride shorter than a row, or an encoder failure.
std::vector<std::uint8_t> EncodePng(const PixelBuffer& image);

} // namespace norvale
