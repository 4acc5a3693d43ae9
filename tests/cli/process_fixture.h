#pragma once

// The built norvale-cli run as a process, for the process tests: a fresh
// folder for each test, and each run's exit status, stdout and stderr.
#include <QImage>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace norvale::cli {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Single-quotes a word for /bin/sh.
inline std::string ShellWord(std::string_view word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CliProcess : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("norvale-cli-test-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs the binary with a fixed zone and no display; `environment` is put
    // in front as extra `env` arguments (NAME=value or -u NAME).
    Outcome Launch(const std::vector<std::string_view>& args,
                   const std::vector<std::string_view>& environment = {},
                   const std::string& shellFirst = "") const {
        // The place file is looked for in the test's folder, never the home's.
        std::string command = shellFirst + " exec env -u DISPLAY -u WAYLAND_DISPLAY TZ=UTC " +
                              ShellWord("XDG_CONFIG_HOME=" + (m_dir / "config").string());
        for (const auto setting : environment) {
            command += ' ' + ShellWord(setting);
        }
        command += ' ' + ShellWord(NORVALE_CLI_PATH);
        for (const auto arg : args) {
            command += ' ' + ShellWord(arg);
        }
        const fs::path errPath = m_dir / "stderr.txt";
        command += " 2>" + ShellWord(errPath.string());
        Outcome outcome;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) {
            ADD_FAILURE() << "popen failed: " << command;
            return outcome;
        }
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            outcome.out.append(buffer, n);
        }
        const int raw = ::pclose(pipe);
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        outcome.err = ReadFile(errPath);
        return outcome;
    }

    fs::path m_dir;
};

// The mean grey level of the pixels in [x0, x1) x [y0, y1).
inline double MeanGrey(const QImage& image, int x0, int x1, int y0, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            sum += qGray(image.pixel(x, y));
        }
    }
    return sum / ((x1 - x0) * (y1 - y0));
}

inline mode_t ModeOf(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

} // namespace norvale::cli
