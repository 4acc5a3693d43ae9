// norvale-cli: the Moon's phase for scripts and status bars.
#include "cli/PanelPng.h"
#include "cli/Run.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return norvale::cli::Run(args, std::cout, std::cerr, norvale::cli::WritePanelPngOffscreen);
}
