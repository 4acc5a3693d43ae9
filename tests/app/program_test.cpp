// The built norvale run as a process: its own options, broken displays, the
// print without a display, clocks far in the future and quit signals.
#include "settings/Settings.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace norvale::test {
namespace {

using Env = ChildProcess::EnvChanges;

// Every run: a fixed zone, settings in a temporary folder, and no display
// unless the case gives one.
Env BaseEnv(const std::filesystem::path& home) {
    return {{"TZ", "UTC"},
            {"HOME", home.string()},
            {"XDG_CONFIG_HOME", (home / "config").string()},
            {"XDG_CACHE_HOME", (home / "cache").string()},
            {"XDG_RUNTIME_DIR", std::nullopt},
            {"DISPLAY", std::nullopt},
            {"WAYLAND_DISPLAY", std::nullopt},
            {"QT_QPA_PLATFORM", std::nullopt},
            // A preloaded test library comes before the sanitizer's run-time.
            {"ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=1:abort_on_error=1"}};
}

ChildOutcome RunNorvale(const std::vector<std::string>& args, Env extra,
                        const std::string& out = {}) {
    const TempFolder home("norvale-program");
    Env env = BaseEnv(home.Path());
    env.insert(env.end(), extra.begin(), extra.end());
    return RunProgram(NORVALE_PATH, args, env, out);
}

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Program, HelpAndVersionAreAnsweredBeforeAnyDisplay) {
    struct Case {
        std::vector<std::string> args;
        const char* starts;
    };
    const Case cases[] = {
        {{"--help"}, "Usage: norvale"},
        {{"-h"}, "Usage: norvale"},
        {{"--version"}, "norvale "},
        {{"-V"}, "norvale "},
        {{"-style", "fusion", "--version"}, "norvale "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const ChildOutcome run = RunNorvale(c.args, {{"DISPLAY", ":55"}});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out.rfind(c.starts, 0), 0u) << run.out;
    }
    // The value of a Qt option is Qt's, whatever it looks like.
    const ChildOutcome session = RunNorvale({"-session", "--help"}, {{"DISPLAY", ":55"}});
    EXPECT_EQ(session.exitCode, 1);
    EXPECT_EQ(session.out.find("Usage"), std::string::npos);
}

TEST(Program, ADisplayThatCannotBeOpenedIsToldAndTodayPrinted) {
    struct Case {
        const char* name;
        Env env;
        std::vector<std::string> args;
        const char* named;
    };
    const Case cases[] = {
        {"DISPLAY=:55", {{"DISPLAY", ":55"}}, {}, "\":55\""},
        {"DISPLAY=nowhere:0", {{"DISPLAY", "nowhere:0"}}, {}, "\"nowhere:0\""},
        {"a Wayland display with no compositor",
         {{"WAYLAND_DISPLAY", "norvale-test-none"}, {"QT_QPA_PLATFORM", "wayland"}},
         {},
         "\"norvale-test-none\""},
        {"a bad QT_QPA_PLATFORM",
         {{"DISPLAY", ":55"}, {"QT_QPA_PLATFORM", "nonsense"}},
         {},
         "\"nonsense\""},
        {"-display nowhere:0", {{"DISPLAY", ":0"}}, {"-display", "nowhere:0"}, "\"nowhere:0\""},
        // Fault: Qt's own warning before its fatal line repeated DISPLAY raw.
        {"escapes in DISPLAY",
         {{"DISPLAY", "\x1b]0;owned\x07\x1b[2J:55"}, {"QT_QPA_PLATFORM", "xcb"}},
         {},
         ":55\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildOutcome run = RunNorvale(c.args, c.env);
        EXPECT_EQ(run.signal, 0) << "ended by a signal (an abort dumps core)";
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_NE(run.err.find("norvale: cannot open the display"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        EXPECT_EQ(Lines(run.out), 3) << run.out;
        EXPECT_NE(run.out.find("% illuminated\n"), std::string::npos) << run.out;
        EXPECT_EQ(std::count_if(run.err.begin(), run.err.end(),
                                [](char ch) { return ch != '\n' && (ch < ' ' || ch == 0x7f); }),
                  0)
            << run.err;
    }
}

TEST(Program, PrintWithoutADisplayFailsWhenItCannotBeWritten) {
    EXPECT_EQ(RunNorvale({}, {}).exitCode, 0);
    const ChildOutcome full = RunNorvale({}, {}, "/dev/full");
    EXPECT_EQ(full.exitCode, 1);
}

// "Now" in whole seconds: the clock is read right past 2262-04-11, where 64-bit
// nanoseconds end, and past 9999, where the day is invalid.
TEST(Program, TheClockHoldsPastTheYear2262) {
    struct Case {
        const char* seconds;
        const char* caption;
    };
    const Case cases[] = {
        {"9227692800", "Today: 01 Jun, Sunday\n"},     // 2262-06-01
        {"10413792000", "Today: 01 Jan, Monday\n"},    // 2300-01-01
        {"253402300800", "Today: Invalid DateTime\n"}, // 10000-01-01
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        const ChildOutcome run = RunNorvale({}, {{"LD_PRELOAD", NORVALE_FAKE_CLOCK_PATH},
                                                 {"NORVALE_FAKE_UNIX_SECONDS", c.seconds}});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out.rfind(c.caption, 0), 0u) << run.out;
    }
}

// A quit signal ends the window the way "Close" does, settings saved, and the
// program then ends by that signal, as a shell expects. By then the window
// has kept the picture's face for the next start.
TEST(Program, QuitSignalsSaveTheSettingsAndEndByTheSignal) {
    for (const int signo : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signo);
        const TempFolder home("norvale-program");
        Env env = BaseEnv(home.Path());
        env.push_back({"DISPLAY", ":0"}); // a desktop, drawn offscreen
        env.push_back({"QT_QPA_PLATFORM", "offscreen"});
        ChildProcess child(NORVALE_PATH, {}, env);
        const auto folder = home.Path() / "config" / "Norvale";
        const auto face = home.Path() / "cache" / "norvale" / "panel-face";
        // The window makes its settings folder while it starts up and keeps
        // the face at its first paint.
        for (int i = 0;
             i < 300 && !(std::filesystem::exists(folder) && std::filesystem::exists(face)); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_TRUE(std::filesystem::exists(folder));
        ASSERT_TRUE(std::filesystem::exists(face));
        child.Signal(signo);
        const ChildOutcome run = child.Wait();
        EXPECT_EQ(run.signal, signo) << run.err;
        EXPECT_EQ(std::filesystem::file_size(folder / "info.dat"), kSettingsFileSize);
    }
}

// Fault: the quit signals' handlers are installed whatever the signal's
// action was at start, so "nohup norvale &" ends (and saves) when the terminal
// closes, and a script's background job ends on the terminal's Ctrl+C.
TEST(Program, QuitSignalsIgnoredAtStartStayIgnored) {
    for (const int signo : {SIGHUP, SIGINT}) {
        SCOPED_TRACE(signo);
        const TempFolder home("norvale-program");
        Env env = BaseEnv(home.Path());
        env.push_back({"DISPLAY", ":0"}); // a desktop, drawn offscreen
        env.push_back({"QT_QPA_PLATFORM", "offscreen"});
        struct sigaction ignore {};
        struct sigaction previous {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(signo, &ignore, &previous); // inherited over fork and exec
        ChildProcess child(NORVALE_PATH, {}, env);
        ::sigaction(signo, &previous, nullptr);
        const auto folder = home.Path() / "config" / "Norvale";
        for (int i = 0; i < 300 && !std::filesystem::exists(folder); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_TRUE(std::filesystem::exists(folder));
        child.Signal(signo);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        child.Signal(SIGTERM);
        const ChildOutcome run = child.Wait();
        EXPECT_EQ(run.signal, SIGTERM) << "the ignored signal ended the window";
    }
}

// Fault: started with 0-2 closed (`0<&- 1>&- 2>&-`), the window's display
// connection and files took those numbers, and its messages and Qt's went
// into them; on X the window never appeared and SIGTERM was ignored.
TEST(Program, ClosedStandardDescriptorsAreDevNullWhileTheWindowRuns) {
    const TempFolder home("norvale-program");
    const auto folder = home.Path() / "config" / "Norvale";
    const std::string config = "XDG_CONFIG_HOME=" + (home.Path() / "config").string();
    const std::string homeVar = "HOME=" + home.Path().string();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(0);
        ::close(1);
        ::close(2);
        const char* const argv[] = {NORVALE_PATH, "-platform", "offscreen", nullptr};
        const char* const envp[] = {"TZ=UTC", config.c_str(), homeVar.c_str(),
                                    "ASAN_OPTIONS=detect_leaks=0", nullptr};
        ::execve(NORVALE_PATH, const_cast<char* const*>(argv), const_cast<char* const*>(envp));
        ::_exit(127);
    }
    ASSERT_GT(child, 0);
    for (int i = 0; i < 300 && !std::filesystem::exists(folder); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<std::string> targets;
    for (int fd = 0; fd < 3; ++fd) {
        const auto link =
            std::filesystem::path("/proc") / std::to_string(child) / "fd" / std::to_string(fd);
        std::error_code error;
        targets.push_back(std::filesystem::read_symlink(link, error).string());
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(std::filesystem::exists(folder)) << "the window started";
    for (int fd = 0; fd < 3; ++fd) {
        EXPECT_EQ(targets[static_cast<std::size_t>(fd)], "/dev/null") << fd;
    }
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
}

// Fault: HasDisplay() looks only at DISPLAY and WAYLAND_DISPLAY, so a platform
// that needs no display (or one named with -display) is never tried: the
// window prints today's Moon instead.
TEST(Program, APlatformChosenWithoutDISPLAYOpensTheWindow) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        Env env;
    };
    const Case cases[] = {
        {"-platform offscreen", {"-platform", "offscreen"}, {}},
        {"QT_QPA_PLATFORM=offscreen", {}, {{"QT_QPA_PLATFORM", "offscreen"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder home("norvale-program");
        Env env = BaseEnv(home.Path());
        env.insert(env.end(), c.env.begin(), c.env.end());
        ChildProcess child(NORVALE_PATH, c.args, env);
        const auto folder = home.Path() / "config" / "Norvale";
        for (int i = 0; i < 150 && !std::filesystem::exists(folder); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        child.Signal(SIGTERM);
        const ChildOutcome run = child.Wait();
        EXPECT_EQ(run.signal, SIGTERM) << run.out << run.err;
        EXPECT_EQ(run.out.find("illuminated"), std::string::npos) << run.out;
    }
}

} // namespace
} // namespace norvale::test
