#pragma once

#include "core/DateValue.h"

#include <cstdint>
#include <string>

namespace norvale::cli {

// Writes the 135 x 156 Moon panel to path (a file name in the local 8-bit
// encoding) as a PNG. Starts a Qt GUI application on the offscreen platform
// for the duration of the call, so it works without any display; false when
// the image could not be written.
bool WritePanelPngOffscreen(const std::string& path, const DateValue& date, bool northern,
                            std::uint32_t starSeed);

} // namespace norvale::cli
