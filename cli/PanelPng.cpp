#include "cli/PanelPng.h"

#include "panel/PanelDraw.h"
#include "panel/PanelText.h"

#include <fontconfig/fontconfig.h>

namespace norvale::cli {

std::optional<std::vector<std::uint8_t>> EncodePanelPng(const MoonDay& day, bool northern,
                                                        std::uint32_t starSeed, int scale) {
    // A panel without its three lines is no answer.
    std::vector<std::uint8_t> bytes = PanelTextAvailable()
                                          ? PanelPng(day, northern, starSeed, scale)
                                          : std::vector<std::uint8_t>();
    // The font lookup is done for this run; fontconfig's configuration goes
    // with it rather than staying until the program ends.
    FcFini();
    if (bytes.empty()) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace norvale::cli
