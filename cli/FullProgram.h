#pragma once

#include <string>

namespace norvale::cli {

// Where the full program lies: beside this program in a build folder, or in
// <prefix>/libexec/norvale/ beside <prefix>/bin/ once installed. Empty when
// neither holds it.
std::string FullProgramPath();

// Replaces this process with the full program, given the same arguments;
// returns (with a line on stderr and status 1) only when it cannot be run.
int RunFullProgram(char** argv);

} // namespace norvale::cli
