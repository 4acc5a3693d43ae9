#pragma once

#include "core/MoonDay.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace norvale::cli {

// The 135 x 156 Moon panel of day as PNG bytes, at scale 1 or 2 device pixels
// per panel pixel; nullopt when it could not be made. Needs no display and
// no toolkit: FreeType, fontconfig and libpng.
std::optional<std::vector<std::uint8_t>> EncodePanelPng(const MoonDay& day, bool northern,
                                                        std::uint32_t starSeed, int scale);

} // namespace norvale::cli
