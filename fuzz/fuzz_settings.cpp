// Arbitrary bytes as the content of the settings file. The reader must take
// exactly the fields that are complete, keep the earlier values of the rest,
// and a record it read must be written back as the same bytes (flags as 0/1).

#include "settings/Settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

namespace {

std::int32_t LittleEndian32(const std::uint8_t* p) {
    const std::uint32_t u = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                            (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
    std::int32_t value = 0;
    std::memcpy(&value, &u, sizeof value);
    return value;
}

// What a reader of the stored layout must give for these bytes.
norvale::AppSettings Expected(std::span<const std::uint8_t> bytes, norvale::AppSettings s) {
    if (bytes.size() >= 4) {
        s.nLeft = LittleEndian32(bytes.data());
    }
    if (bytes.size() >= 8) {
        s.nTop = LittleEndian32(bytes.data() + 4);
    }
    if (bytes.size() >= 12) {
        s.nDateFormat = LittleEndian32(bytes.data() + 8);
    }
    if (bytes.size() >= 13) {
        s.bNorthern = bytes[12] != 0;
    }
    if (bytes.size() >= 14) {
        s.bFull = bytes[13] != 0;
    }
    return s;
}

bool Same(const norvale::AppSettings& a, const norvale::AppSettings& b) {
    return a.nLeft == b.nLeft && a.nTop == b.nTop && a.nDateFormat == b.nDateFormat &&
           a.bNorthern == b.bNorthern && a.bFull == b.bFull;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);

    // Start from values a reader must not touch unless the bytes hold them.
    norvale::AppSettings before;
    before.nLeft = 11;
    before.nTop = -22;
    before.nDateFormat = 3;
    before.bNorthern = false;
    before.bFull = false;

    norvale::AppSettings read = before;
    const bool complete = norvale::LoadSettingsFromBytes(bytes, read);
    Check(complete == (size >= norvale::kSettingsFileSize));
    Check(Same(read, Expected(bytes, before)));

    // Writing a record and reading it back gives the same record; the three
    // integers keep their stored bytes and the flags are written as 0 or 1.
    const auto written = norvale::SettingsToBytes(read);
    Check(written[12] <= 1 && written[13] <= 1);
    if (complete) {
        Check(std::memcmp(written.data(), data, 12) == 0);
    }
    norvale::AppSettings again;
    Check(norvale::LoadSettingsFromBytes(written, again));
    Check(Same(again, read));
    return 0;
}
