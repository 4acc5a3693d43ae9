// norvale-cli: the Moon's phase for scripts and status bars. This program
// prints the plain text answers itself, loading nothing but the C and C++
// run-time; for a PNG, JSON lines or a calendar it starts the full program.
#include "atomicfile/StandardStreams.h"
#include "cli/FullProgram.h"
#include "cli/Run.h"
#include "options/Options.h"

#include <csignal>
#include <iostream>
#include <string_view>
#include <variant>
#include <vector>

int main(int argc, char** argv) {
    // Before anything opens a file: a closed stdout or stderr is /dev/null,
    // never the next file, pipe or display connection the program opens.
    norvale::OpenClosedStandardDescriptors();
    // A file-size limit on the output makes a write fail (status 1 and a
    // message) instead of killing the program with its output cut short.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const norvale::cli::ParseResult parsed = norvale::cli::ParseOptions(args);
    if (const auto* options = std::get_if<norvale::cli::Options>(&parsed);
        options != nullptr && norvale::cli::NeedsFullProgram(*options)) {
        return norvale::cli::RunFullProgram(argv);
    }
    return norvale::cli::Run(args, std::cout, std::cerr, norvale::cli::FullServices{});
}
