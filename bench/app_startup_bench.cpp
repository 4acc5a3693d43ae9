// Start-up until the first Moon paint against a bare Qt dialog shown the same
// way: each program runs as its own process, alternately; the figures are the
// wall time from fork to exit and the peak resident memory (getrusage of the
// child). The programs run on the Qt platform of the environment (Xvfb when
// DISPLAY is set, else offscreen).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Run {
    double millis = 0;
    long maxRssKiB = 0;
};

bool RunOnce(const std::string& program, Run& out) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        // The programs' own messages would only clutter the figures.
        if (const int devNull = ::open("/dev/null", O_WRONLY); devNull >= 0) {
            ::dup2(devNull, STDERR_FILENO);
            ::close(devNull);
        }
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return false;
    }
    out.millis =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    out.maxRssKiB = usage.ru_maxrss;
    return true;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path dir = std::filesystem::path(argv[0]).parent_path();
    const std::string probe = (dir / "app_startup_probe").string();
    const std::string bare = (dir / "bare_dialog").string();
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    std::string folder = (std::filesystem::temp_directory_path() / "norvale-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        return 1;
    }
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);

    std::vector<double> appMs, bareMs, appRss, bareRss;
    for (int i = 0; i < runs; ++i) {
        Run a, b;
        if (!RunOnce(probe, a) || !RunOnce(bare, b)) {
            std::fprintf(stderr, "a program failed to run\n");
            return 1;
        }
        appMs.push_back(a.millis);
        bareMs.push_back(b.millis);
        appRss.push_back(static_cast<double>(a.maxRssKiB));
        bareRss.push_back(static_cast<double>(b.maxRssKiB));
    }
    std::filesystem::remove_all(folder);
    const double ratio = Median(appMs) / Median(bareMs);
    const double extraMiB = (Median(appRss) - Median(bareRss)) / 1024.0;
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    const char* platform = chosen != nullptr ? chosen : "xcb";
    std::printf("startup_first_paint (%s, %d runs each): norvale %.1f ms, bare dialog %.1f ms, "
                "ratio %.2f (target <= 1.30) %s\n",
                platform, runs, Median(appMs), Median(bareMs), ratio,
                ratio <= 1.3 ? "PASS" : "FAIL");
    std::printf("startup_peak_memory: norvale %.1f MiB, bare dialog %.1f MiB, extra %.1f MiB "
                "(target <= 6 MiB) %s\n",
                Median(appRss) / 1024.0, Median(bareRss) / 1024.0, extraMiB,
                extraMiB <= 6.0 ? "PASS" : "FAIL");
    return 0;
}
