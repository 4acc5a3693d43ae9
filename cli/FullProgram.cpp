#include "cli/FullProgram.h"

#include "options/Options.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <iostream>
#include <string>

#include <unistd.h>

namespace norvale::cli {

namespace {

constexpr const char* kFullProgram = "norvale-cli-full";

std::string FolderOfThisProgram() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return {};
    }
    const std::string self(path, static_cast<std::size_t>(n));
    return self.substr(0, self.rfind('/'));
}

} // namespace

std::string FullProgramPath() {
    const std::string here = FolderOfThisProgram();
    if (here.empty()) {
        return {};
    }
    for (const std::string& candidate :
         {here + "/" + kFullProgram, here + "/../libexec/norvale/" + kFullProgram}) {
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

int RunFullProgram(char** argv) {
    const std::string path = FullProgramPath();
    if (!path.empty()) {
        ::execv(path.c_str(), argv);
    }
    const int error = path.empty() ? ENOENT : errno;
    std::cerr << "norvale-cli: cannot run " << (path.empty() ? kFullProgram : Quoted(path)) << ": "
              << std::strerror(error) << '\n';
    return 1;
}

} // namespace norvale::cli
