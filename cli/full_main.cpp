// norvale-cli-full: every answer of norvale-cli, the PNG panel, the JSON
// lines and the calendar included. norvale-cli starts it with its own
// arguments when they ask for more than plain text.
#include "atomicfile/StandardStreams.h"
#include "cli/PanelPng.h"
#include "cli/Run.h"
#include "cli/SkyAnswers.h"
#include "cli/TruePng.h"
#include "panel/FaceCache.h"

#include <csignal>
#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    // Before anything opens a file: a closed stdout or stderr is /dev/null,
    // never the next file, pipe or display connection the program opens.
    norvale::OpenClosedStandardDescriptors();
    // A file-size limit makes a write fail (and the old file stay) instead
    // of killing the program half way.
    std::signal(SIGXFSZ, SIG_IGN);
    // The panel's face is kept between runs: asking fontconfig costs more
    // than drawing and encoding the panel.
    norvale::UsePanelFaceCache();
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const auto sky = norvale::cli::MakeSkyAnswers();
    return norvale::cli::Run(
        args, std::cout, std::cerr,
        {norvale::cli::EncodePanelPng, sky.get(), norvale::cli::EncodeTruePng});
}
