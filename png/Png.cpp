#include "png/Png.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <csetjmp>
#include <cstddef>
#include <semaphore>
#include <system_error>
#include <thread>

namespace norvale {

namespace {

// libpng's simplified API takes width and height as 32-bit counts and the row
// stride as an int of components; this keeps every product in range.
constexpr std::int64_t MaxSide = 1 << 15;

// The rows of the image as R, G, B bytes, top row first.
std::vector<std::uint8_t> RgbBytes(const PixelBuffer& image) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width) *
                                  static_cast<std::size_t>(image.height) * 3);
    std::size_t out = 0;
    for (std::int32_t y = 0; y < image.height; ++y) {
        for (std::int32_t x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.At(x, y);
            rgb[out++] = static_cast<std::uint8_t>(p >> 16);
            rgb[out++] = static_cast<std::uint8_t>(p >> 8);
            rgb[out++] = static_cast<std::uint8_t>(p);
        }
    }
    return rgb;
}

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void NoFlush(png_structp) {}

// Rows in a band: about half a megabyte of a wide picture, reused.
constexpr std::int32_t BandRows = 64;

// The bands of a picture drawn on a helper thread while the caller's thread
// compresses the band before: two band buffers, each handed back and forth.
class BandPipeline {
public:
    BandPipeline(std::int32_t width, std::int32_t height, const BandPainter& draw)
        : m_width(width), m_height(height), m_draw(draw) {
        for (auto& buffer : m_buffers) {
            buffer.resize(static_cast<std::size_t>(width) * BandRows);
        }
        try {
            m_helper = std::thread([this] { DrawAll(); });
        } catch (const std::system_error&) {
            m_alone = true; // no thread to be had: each band is drawn when it is asked for
        }
    }
    BandPipeline(const BandPipeline&) = delete;
    BandPipeline& operator=(const BandPipeline&) = delete;
    ~BandPipeline() {
        if (m_helper.joinable()) {
            m_stop = true;
            for (auto& free : m_free) {
                free.release();
            }
            m_helper.join();
        }
    }

    // The band from row first on, drawn.
    PixelBuffer Take(std::int32_t first) {
        const std::size_t k = Index(first);
        const PixelBuffer band = BandAt(first);
        if (m_alone) {
            m_draw(band, first);
        } else {
            m_ready[k].acquire();
        }
        return band;
    }
    // The band from row first on is written: its buffer may be drawn again.
    void Done(std::int32_t first) {
        if (!m_alone) {
            m_free[Index(first)].release();
        }
    }

private:
    static std::size_t Index(std::int32_t first) {
        return static_cast<std::size_t>(first / BandRows % 2);
    }
    PixelBuffer BandAt(std::int32_t first) {
        return {m_buffers[Index(first)].data(), m_width, std::min(BandRows, m_height - first),
                m_width};
    }
    void DrawAll() {
        for (std::int32_t first = 0; first < m_height; first += BandRows) {
            m_free[Index(first)].acquire();
            if (m_stop) {
                return;
            }
            m_draw(BandAt(first), first);
            m_ready[Index(first)].release();
        }
    }

    std::int32_t m_width;
    std::int32_t m_height;
    const BandPainter& m_draw;
    std::array<std::vector<std::uint32_t>, 2> m_buffers;
    std::array<std::counting_semaphore<4>, 2> m_free{std::counting_semaphore<4>(1),
                                                     std::counting_semaphore<4>(1)};
    std::array<std::counting_semaphore<4>, 2> m_ready{std::counting_semaphore<4>(0),
                                                      std::counting_semaphore<4>(0)};
    std::atomic<bool> m_stop{false};
    bool m_alone = false;
    std::thread m_helper;
};

// Writes the picture's rows into out, each band as the pipeline gives it;
// false when libpng reports an error (it returns here through its jump
// buffer, so nothing in this function may need a destructor: the pipeline,
// the row and out belong to the caller).
bool WriteBands(std::int32_t width, std::int32_t height, int level, BandPipeline& bands,
                std::uint8_t* row, std::vector<std::uint8_t>& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, level);
    png_write_info(png, info);
    for (std::int32_t first = 0; first < height; first += BandRows) {
        const PixelBuffer rows = bands.Take(first);
        for (std::int32_t y = 0; y < rows.height; ++y) {
            std::uint8_t* p = row;
            for (std::int32_t x = 0; x < width; ++x) {
                const std::uint32_t pixel = rows.At(x, y);
                *p++ = static_cast<std::uint8_t>(pixel >> 16);
                *p++ = static_cast<std::uint8_t>(pixel >> 8);
                *p++ = static_cast<std::uint8_t>(pixel);
            }
            png_write_row(png, row);
        }
        bands.Done(first);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodePngInBands(std::int32_t width, std::int32_t height, int level,
                                           const BandPainter& draw) {
    if (width < 1 || height < 1 || width > MaxSide || height > MaxSide || level < 0 || level > 9 ||
        !draw) {
        return {};
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    std::vector<std::uint8_t> out;
    // About a byte for every six of a picture that is mostly black sky.
    out.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) / 2);
    BandPipeline bands(width, height, draw);
    if (!WriteBands(width, height, level, bands, row.data(), out)) {
        return {};
    }
    return out;
}

std::vector<std::uint8_t> EncodePng(const PixelBuffer& image) {
    if (image.pixels == nullptr || image.width < 1 || image.height < 1 ||
        image.stride < image.width || image.width > MaxSide || image.height > MaxSide) {
        return {};
    }
    const std::vector<std::uint8_t> rgb = RgbBytes(image);

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    // No row filters and a quick zlib level: for the panel (a black sky with a
    // few stars, a textured disk) the file is smaller as well as written about
    // three times faster than with libpng's default (17.3 against 20.3 KB).
    png.flags = PNG_IMAGE_FLAG_FAST;
    const png_int_32 rowStride = image.width * 3;

    // One pass into a buffer of the largest size the encoder can produce.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    std::vector<std::uint8_t> bytes(size);
    const int written =
        png_image_write_to_memory(&png, bytes.data(), &size, 0, rgb.data(), rowStride, nullptr);
    png_image_free(&png);
    if (written == 0) {
        return {};
    }
    bytes.resize(size);
    return bytes;
}

} // namespace norvale
