#include "shading/Bmp.h"

#include <cstring>
#include <utility>

namespace norvale {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::size_t PaletteEntries = 256;
constexpr std::size_t PaletteOffset = FileHeaderSize + InfoHeaderSize;
constexpr std::size_t PaletteSize = PaletteEntries * 4;
// Far above any texture, low enough that width * height cannot overflow.
constexpr std::int32_t MaxDimension = 16384;

// Little-endian reads at a checked offset of the input.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= m_size && count <= m_size - offset;
    }
    std::uint16_t U16(std::size_t offset) const {
        return static_cast<std::uint16_t>(m_data[offset] | (m_data[offset + 1] << 8));
    }
    std::uint32_t U32(std::size_t offset) const {
        return static_cast<std::uint32_t>(m_data[offset]) |
               (static_cast<std::uint32_t>(m_data[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(m_data[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(m_data[offset + 3]) << 24);
    }
    std::int32_t I32(std::size_t offset) const {
        const std::uint32_t u = U32(offset);
        std::int32_t i = 0;
        std::memcpy(&i, &u, sizeof i);
        return i;
    }
    std::uint8_t U8(std::size_t offset) const { return m_data[offset]; }
    std::size_t Size() const { return m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

bool Fail(std::string& error, const char* reason) {
    error = std::string("BMP: ") + reason;
    return false;
}

} // namespace

bool ReadBmpIndexed(const std::uint8_t* data, std::size_t size, BmpIndexed& out,
                    std::string& error) {
    out = BmpIndexed{};
    error.clear();
    if (data == nullptr) {
        size = 0;
    }
    const ByteReader in(data, size);
    if (!in.Has(0, PaletteOffset + PaletteSize)) {
        return Fail(error, "file too short for the headers and a 256-colour palette");
    }
    if (in.U8(0) != 'B' || in.U8(1) != 'M') {
        return Fail(error, "missing the 'BM' signature");
    }
    const std::uint32_t fileSize = in.U32(2);
    const std::uint32_t pixelOffset = in.U32(10);
    if (in.U32(14) != InfoHeaderSize) {
        return Fail(error, "information header is not the 40-byte form");
    }
    const std::int32_t width = in.I32(18);
    const std::int32_t height = in.I32(22);
    if (width <= 0 || width > MaxDimension) {
        return Fail(error, "width out of range");
    }
    if (height <= 0 || height > MaxDimension) {
        return Fail(error, "height out of range (only bottom-up images are read)");
    }
    if (in.U16(26) != 1) {
        return Fail(error, "plane count is not 1");
    }
    if (in.U16(28) != 8) {
        return Fail(error, "not 8 bits per pixel");
    }
    if (in.U32(30) != 0) {
        return Fail(error, "compressed (only uncompressed images are read)");
    }
    const std::uint32_t coloursUsed = in.U32(46);
    if (coloursUsed != 0 && coloursUsed != PaletteEntries) {
        return Fail(error, "palette does not have 256 entries");
    }
    if (fileSize > size) {
        return Fail(error, "file cut short (header size larger than the data)");
    }
    if (pixelOffset < PaletteOffset + PaletteSize) {
        return Fail(error, "pixel data overlaps the headers or palette");
    }
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
    if (!in.Has(pixelOffset, pixelBytes)) {
        return Fail(error, "file cut short (pixel rows missing)");
    }

    BmpIndexed image;
    for (std::size_t i = 0; i < PaletteEntries; ++i) {
        const std::size_t at = PaletteOffset + 4 * i;
        image.palette[i] = 0xFF000000u | (std::uint32_t{in.U8(at + 2)} << 16) |
                           (std::uint32_t{in.U8(at + 1)} << 8) | std::uint32_t{in.U8(at)};
    }
    image.width = width;
    image.height = height;
    image.indices.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::int32_t row = 0; row < height; ++row) {
        // Stored bottom-up: the last stored row is the top row of the image.
        const std::size_t source =
            pixelOffset + stride * static_cast<std::size_t>(height - 1 - row);
        std::uint8_t* dest = image.indices.data() + static_cast<std::size_t>(row) * width;
        for (std::int32_t x = 0; x < width; ++x) {
            dest[x] = in.U8(source + static_cast<std::size_t>(x));
        }
    }
    out = std::move(image);
    return true;
}

bool ReadBmp(const std::uint8_t* data, std::size_t size, BmpImage& out, std::string& error) {
    out = BmpImage{};
    BmpIndexed indexed;
    if (!ReadBmpIndexed(data, size, indexed, error)) {
        return false;
    }
    BmpImage image;
    image.width = indexed.width;
    image.height = indexed.height;
    image.pixels.resize(indexed.indices.size());
    for (std::size_t i = 0; i < indexed.indices.size(); ++i) {
        image.pixels[i] = indexed.palette[indexed.indices[i]];
    }
    out = std::move(image);
    return true;
}

} // namespace norvale
