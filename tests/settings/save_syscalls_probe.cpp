// Saves the settings once under the system-call recorder (LD_PRELOAD) and
// checks what reached the kernel: the new file's bytes were flushed to the
// disk before it was renamed over info.dat, so a crash can never leave a
// renamed but empty file. Exit 0 when they were, 1 with the record otherwise.

#include "settings/Settings.h"
#include "tests/support/TestSupport.h"

#include <dlfcn.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

int main() {
    using Recorded = const char* (*)();
    const auto recorded =
        reinterpret_cast<Recorded>(::dlsym(RTLD_DEFAULT, "norvale_recorded_calls"));
    if (recorded == nullptr) {
        std::fprintf(stderr, "the system-call recorder is not preloaded\n");
        return 1;
    }
    const norvale::test::TempConfigHome home("norvale-syscalls");
    norvale::AppSettings settings;
    norvale::CreateSettingsFolder(settings);
    if (!norvale::SaveSettings(settings)) {
        std::fprintf(stderr, "the save failed\n");
        return 1;
    }
    const std::string target = (home.Root() / "config" / "Norvale" / "info.dat").string();

    std::vector<std::string> lines;
    std::istringstream in(recorded());
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    // The rename onto info.dat, and a flush of the renamed file before it.
    bool synced = false;
    for (const std::string& line : lines) {
        const std::string renamePrefix = "rename ";
        if (line.rfind(renamePrefix, 0) == 0 && line.size() > target.size() &&
            line.compare(line.size() - target.size() - 1, std::string::npos, " " + target) == 0) {
            const std::string from = line.substr(
                renamePrefix.size(), line.size() - renamePrefix.size() - target.size() - 1);
            if (synced) {
                return 0;
            }
            std::fprintf(stderr, "%s was renamed over %s without a flush to the disk\n",
                         from.c_str(), target.c_str());
            break;
        }
        if ((line.rfind("fsync ", 0) == 0 || line.rfind("fdatasync ", 0) == 0) &&
            line.find("/.norvale-tmp.info.dat.") != std::string::npos &&
            line.find(" failed") == std::string::npos) {
            synced = true;
        }
    }
    std::fprintf(stderr, "recorded calls:\n%s", recorded());
    return 1;
}
