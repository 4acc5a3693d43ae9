// Arbitrary bytes as a bitmap file. libFuzzer hands over a buffer of exactly
// `size` bytes, so any read past the end is caught by AddressSanitizer.
// A successful read must describe a whole opaque image; a failed one must
// leave the image empty and say why.

#include "shading/Bmp.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    norvale::BmpImage image;
    image.width = 7; // a reader must replace whatever the image held
    image.pixels.assign(3, 0u);
    std::string error = "left over";
    if (norvale::ReadBmp(data, size, image, error)) {
        Check(error.empty());
        Check(image.width > 0 && image.height > 0);
        Check(image.pixels.size() ==
              static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
        for (const std::uint32_t pixel : image.pixels) {
            Check((pixel >> 24) == 0xFFu);
        }
    } else {
        Check(!error.empty());
        Check(image.width == 0 && image.height == 0 && image.pixels.empty());
    }
    return 0;
}
