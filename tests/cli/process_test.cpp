// The built norvale-cli run as a process: exit status, stdout and stderr.
#include "tests/options/bad_inputs.h"
#include "version/Version.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace norvale::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Single-quotes a word for /bin/sh.
std::string ShellWord(std::string_view word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReadFile(const fs::path& path) {
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

TEST_F(CliProcess, PrintsTheAgeAndIlluminationOfAChosenInstant) {
    const Outcome r = Launch({"--date", "2002-01-20", "--time", "16:29:00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "History: 20 Jan, Sunday\n7.13 day, First Quarter\n48.3% illuminated\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliProcess, VersionLine) {
    EXPECT_EQ(Launch({"--version"}).out, std::string("norvale-cli ") + kVersion + "\n");
}

TEST_F(CliProcess, EveryBadInputExitsTwoWithNothingOnStdout) {
    for (const auto& c : test_inputs::BadCases()) {
        std::string joined;
        for (const auto arg : c.args) {
            joined += std::string(arg) + ' ';
        }
        SCOPED_TRACE(joined);
        const Outcome r = Launch(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_NE(r.err.find(c.mustName), std::string::npos) << r.err;
    }
}

// The plain text answers start fast because their program loads nothing but
// the C and C++ run-time: no Qt, no font or image libraries, no astronomy.
TEST_F(CliProcess, ThePlainTextProgramNeedsOnlyTheRunTime) {
    const std::string command = "readelf -d " + ShellWord(NORVALE_CLI_PATH);
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string dynamic;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        dynamic.append(buffer, n);
    }
    ASSERT_EQ(::pclose(pipe), 0);
    std::vector<std::string> needed;
    for (std::size_t at = 0; (at = dynamic.find("Shared library: [", at)) != std::string::npos;) {
        at += 17;
        needed.push_back(dynamic.substr(at, dynamic.find(']', at) - at));
    }
    const std::vector<std::string> runTime = {"libstdc++.so.6", "libm.so.6", "libgcc_s.so.1",
                                              "libc.so.6"};
    ASSERT_FALSE(needed.empty()) << dynamic;
    for (const std::string& library : needed) {
        // The sanitizer build adds its own run-times; the dynamic loader is
        // the C library's own.
        if (library.starts_with("libasan") || library.starts_with("libubsan") ||
            library.starts_with("ld-linux")) {
            continue;
        }
        EXPECT_NE(std::find(runTime.begin(), runTime.end(), library), runTime.end()) << library;
    }
}

TEST_F(CliProcess, TextOutputNeverStartsQt) {
    // A Qt GUI application on the xcb platform aborts without a display, so
    // this only passes when the text paths build no Qt application at all.
    const Outcome r =
        Launch({"--date", "2002-01-13", "--time", "13:29", "--json"}, {"QT_QPA_PLATFORM=xcb"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"phase_name\":\"New Moon\""), std::string::npos) << r.out;
}

// The mean grey level of the pixels in [x0, x1) x [y0, y1).
double MeanGrey(const QImage& image, int x0, int x1, int y0, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            sum += qGray(image.pixel(x, y));
        }
    }
    return sum / ((x1 - x0) * (y1 - y0));
}

TEST_F(CliProcess, PngShowsAThinLitCrescentOnTheRightWithoutADisplay) {
    const fs::path north = m_dir / "moon.png";
    const fs::path south = m_dir / "south.png";
    // The caller's platform choice is irrelevant: the panel needs no display.
    const Outcome r =
        Launch({"--date", "2002-01-16", "--time", "12:00", "--seed", "1", "--png", north.string()},
               {"QT_QPA_PLATFORM=xcb"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    ASSERT_EQ(Launch({"--date", "2002-01-16", "--time", "12:00", "--seed", "1", "--southern",
                      "--png", south.string()})
                  .status,
              0);

    const QImage image(QString::fromStdString(north.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 135);
    EXPECT_EQ(image.height(), 156);
    // Disk (12, 5)-(123, 116); phase day 3 lights x = 102...122 on the equator.
    const double litRight = MeanGrey(image, 106, 120, 50, 71);
    const double darkMiddle = MeanGrey(image, 30, 90, 50, 71);
    EXPECT_GT(litRight, darkMiddle + 60) << litRight << " vs " << darkMiddle;

    const QImage mirrored(QString::fromStdString(south.string()));
    ASSERT_FALSE(mirrored.isNull());
    EXPECT_GT(MeanGrey(mirrored, 15, 29, 50, 71), MeanGrey(mirrored, 45, 105, 50, 71) + 60);

    // A fixed seed and date give the same image every time.
    const fs::path again = m_dir / "again.png";
    ASSERT_EQ(
        Launch({"--date", "2002-01-16", "--time", "12:00", "--seed", "1", "--png", again.string()})
            .status,
        0);
    EXPECT_EQ(QImage(QString::fromStdString(again.string())), image);
}

mode_t ModeOf(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// The PNG goes to exactly the bytes of the path given, through a temporary
// file and a rename; a failure leaves the old file as it was and says why.
TEST_F(CliProcess, PngFilesAreWrittenSafelyToExactlyThePathGiven) {
    const std::vector<std::string_view> day = {"--date", "2002-01-16", "--time",
                                               "12:00",  "--seed",     "1"};
    auto png = [&](const std::string& path, const std::string& shellFirst = "") {
        std::vector<std::string_view> args = day;
        args.push_back("--png");
        args.push_back(path);
        return Launch(args, {}, shellFirst);
    };
    // Names are bytes: no decoding, no resource paths, no option look-alikes.
    for (const std::string& name : {std::string("\xe9.png"), std::string(":moon.png")}) {
        const Outcome r = png((m_dir / name).string());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "") << "nothing on stderr after a success";
        EXPECT_TRUE(fs::exists(m_dir / name)) << name;
    }
    const Outcome toStdout = Launch({"--seed", "1", "--png", "-"});
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_TRUE(toStdout.out.starts_with("\x89PNG\r\n\x1a\n"));

    // A new file: 0666 less the umask.
    EXPECT_EQ(png((m_dir / "new.png").string(), "umask 002;").status, 0);
    EXPECT_EQ(ModeOf(m_dir / "new.png"), 0664u);
    // An existing file keeps its mode without set-id bits; a link stays.
    const fs::path target = m_dir / "target.png";
    std::ofstream(target) << "old";
    ::chmod(target.c_str(), 04640);
    fs::create_symlink("target.png", m_dir / "link.png");
    EXPECT_EQ(png((m_dir / "link.png").string()).status, 0);
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.png"));
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_GT(fs::file_size(target), 1000u);

    // A file-size limit: the write fails, the old file stays, no temporary.
    const std::string before = ReadFile(target);
    const Outcome limited = png(target.string(), "ulimit -f 1;");
    EXPECT_EQ(limited.status, 1);
    EXPECT_NE(limited.err.find("File too large"), std::string::npos) << limited.err;
    EXPECT_EQ(ReadFile(target), before);
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".norvale-tmp.")) << entry.path();
    }

    // The error quotes the path as one plain line and gives the reason.
    const Outcome missing = png((m_dir / "no\x1b[2Jdir" / "m.png").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.find('\x1b'), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.err.find('\n'), missing.err.size() - 1) << missing.err;
}

// Fault: a trailing slash names a folder, yet the walk drops the empty last
// component and writes a file under the name before it (the kernel would
// refuse such a path with "Is a directory").
TEST_F(CliProcess, PngPathEndingInASlashIsNeverWrittenAsAFile) {
    for (const char* name : {"moon.png/", "moon.png//", "moon.png/."}) {
        SCOPED_TRACE(name);
        const Outcome r = Launch({"--seed", "1", "--png", (m_dir / name).string()});
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_FALSE(fs::exists(m_dir / "moon.png"));
        fs::remove(m_dir / "moon.png");
    }
}

// Fault: the plain text program leaves SIGXFSZ at its default action, so a
// file-size limit on standard output kills it (a core-dumping signal, the
// output cut short) where the full program ends with status 1 and a message.
TEST_F(CliProcess, AFileSizeLimitOnStandardOutputIsStatusOne) {
    const std::vector<std::string_view> days = {"--date", "2002-01-16", "--time",
                                                "12:00",  "--days",     "200"};
    struct Case {
        const char* name;
        std::vector<std::string_view> extra;
    };
    const Case cases[] = {{"tab lines", {}}, {"JSON lines", {"--json"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string_view> args = days;
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const fs::path out = m_dir / "out.txt";
        const Outcome r = Launch(args, {}, "ulimit -f 1; exec >" + ShellWord(out.string()) + ";");
        EXPECT_EQ(r.status, 1) << "-1: ended by a signal";
        EXPECT_NE(r.err.find("cannot write to standard output"), std::string::npos) << r.err;
    }
}

// --png --true: the Moon of the instant at the panel's size with the true
// sky's lines or at any size without them, turned for the Southern view, and
// written by the rules of --png.
TEST_F(CliProcess, TrueMoonAtAnySizeWithItsLinesAndThePngFileRules) {
    // 2002-01-16 12:00 UTC: a waxing crescent (13 % lit), bright limb west,
    // to the right with north up.
    const std::vector<std::string_view> day = {"2002-01-16", "--time", "12:00", "--seed",
                                               "1",          "--true", "--png"};
    struct Case {
        const char* name;
        std::vector<std::string_view> extra;
        int width;
        int height;
        bool southern;
        bool lines;
    };
    const Case cases[] = {
        {"panel size", {}, 135, 156, false, true},
        {"panel size, southern", {"--southern"}, 135, 156, true, true},
        {"doubled", {"--scale", "2"}, 270, 312, false, true},
        {"sized", {"--size", "320x200"}, 320, 200, false, false},
        {"sized with lines", {"--size", "320x200", "--caption"}, 320, 200, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string_view> args = day;
        args.push_back("-");
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Outcome r = Launch(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        QImage image;
        ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(r.out.data()),
                                       static_cast<int>(r.out.size()), "PNG"));
        ASSERT_EQ(image.width(), c.width);
        ASSERT_EQ(image.height(), c.height);
        // The disk's middle band: the lit limb on the right with north up,
        // on the left turned for the South.
        const bool panel = c.width * 156 == c.height * 135;
        const int cy = panel ? c.height * 605 / 1560 : c.height / 2;
        // From 0.8 to 0.9 of the radius (52 on the 135-pixel panel).
        const int r0 = panel ? c.width * 52 * 8 / 1350 : std::min(c.width, c.height) * 32 / 100;
        const int r1 = panel ? c.width * 52 * 9 / 1350 : std::min(c.width, c.height) * 36 / 100;
        const int cx = c.width / 2;
        const double right = MeanGrey(image, cx + r0, cx + r1, cy - 4, cy + 4);
        const double left = MeanGrey(image, cx - r1, cx - r0, cy - 4, cy + 4);
        EXPECT_GT(c.southern ? left : right, (c.southern ? right : left) + 60)
            << left << " | " << right;
        // White text in the lower left corner only with the lines (the
        // stars are blue-white).
        int white = 0;
        for (int y = c.height - c.height / 4; y < c.height; ++y) {
            for (int x = 0; x < c.width / 3; ++x) {
                const QRgb p = image.pixel(x, y);
                white += qGray(p) > 180 && qBlue(p) - qRed(p) < 20 ? 1 : 0;
            }
        }
        EXPECT_EQ(white > 20, c.lines) << white;
    }

    // The file rules of --png: atomic, the old file kept when the write fails.
    const fs::path target = m_dir / "wall.png";
    std::ofstream(target) << "old";
    std::vector<std::string_view> args = day;
    args.push_back(target.c_str());
    args.insert(args.end(), {"--size", "1920x1080"});
    const Outcome limited = Launch(args, {}, "ulimit -f 8;");
    EXPECT_EQ(limited.status, 1);
    EXPECT_EQ(ReadFile(target), "old");
    ASSERT_EQ(Launch(args).status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(target.string())).size(), QSize(1920, 1080));
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".norvale-tmp.")) << entry.path();
    }

    // Zenith up from a place: 2027-01-14 17:00 UTC, the day before first
    // quarter, the lit side low on the right in Oslo's evening and on the left
    // in Cape Town's, where the Moon stands upside down against Oslo's.
    for (const auto& [where, litLeft] :
         {std::pair{"59.91,10.75", false}, std::pair{"-33.92,18.42", true}}) {
        SCOPED_TRACE(where);
        const Outcome r =
            Launch({"2027-01-14", "--time", "17:00", "--seed", "1", "--true", "--size", "200x200",
                    "--zenith-up", "--place", where, "--png", "-"});
        ASSERT_EQ(r.status, 0) << r.err;
        QImage image;
        ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(r.out.data()),
                                       static_cast<int>(r.out.size()), "PNG"));
        const double left = MeanGrey(image, 30, 50, 95, 105);
        const double right = MeanGrey(image, 150, 170, 95, 105);
        EXPECT_GT(litLeft ? left : right, (litLeft ? right : left) + 60) << left << " | " << right;
    }
    // Without a place (none given or stored, UTC has no city) it is refused.
    const Outcome nowhere = Launch({"2027-01-14", "--true", "--zenith-up", "--png", "-"},
                                   {"XDG_CONFIG_HOME=" + m_dir.string()});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_NE(nowhere.err.find("--zenith-up needs"), std::string::npos) << nowhere.err;

    // The true sky's years only.
    const Outcome late = Launch({"2201-01-01", "--true", "--png", "-"});
    EXPECT_EQ(late.status, 1);
    EXPECT_EQ(late.out, "");
    EXPECT_NE(late.err.find("1800 to 2200"), std::string::npos) << late.err;
}

// Fault: "--png -" writes 17 KB of binary to a terminal and succeeds, and
// "--png /dev/stdout" into a pipe is walked as a path and fails.
TEST_F(CliProcess, PngToStandardOutputNeverToATerminal) {
    const Outcome piped = Launch({"--seed", "1", "--png", "/dev/stdout"});
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_TRUE(piped.out.starts_with("\x89PNG\r\n\x1a\n"));

    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal), 0);
    ASSERT_EQ(::unlockpt(terminal), 0);
    const std::string side = ::ptsname(terminal);
    // Whatever reaches the terminal is read here, so a write never blocks;
    // the reader ends once the last descriptor of the terminal's side closes.
    const int held = ::open(side.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(held, 0);
    std::string shown;
    std::thread reader([&] {
        char buffer[4096];
        for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) {
            shown.append(buffer, static_cast<std::size_t>(n));
        }
    });
    for (const char* path : {"-", "/dev/stdout"}) {
        SCOPED_TRACE(path);
        const Outcome r =
            Launch({"--seed", "1", "--png", path}, {}, "exec >" + ShellWord(side) + ";");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("terminal"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    ::close(held);
    reader.join();
    ::close(terminal);
    EXPECT_EQ(shown.find("PNG"), std::string::npos);
}

// The panel's font answer is kept between runs; damage to it, or a face that
// is not a usable font, means asking fontconfig again, never a crash, a hang
// or a panel without text.
TEST_F(CliProcess, ADamagedFaceCacheDrawsTheSamePanel) {
    const std::string cache = "XDG_CACHE_HOME=" + (m_dir / "cache").string();
    const fs::path kept = m_dir / "cache" / "norvale" / "panel-face";
    auto png = [&](const fs::path& out) {
        return Launch(
            {"--date", "2002-01-16", "--time", "12:00", "--seed", "1", "--png", out.string()},
            {cache});
    };
    ASSERT_EQ(png(m_dir / "fresh.png").status, 0);
    const std::string fresh = ReadFile(m_dir / "fresh.png");
    const std::string valid = ReadFile(kept);
    ASSERT_FALSE(valid.empty());
    const std::string damaged[] = {
        valid + "stamp\tab\tmissing\n", // a stamp that names neither a variable nor a path
        valid.substr(0, valid.size() / 2),
        valid.substr(0, valid.size() - 2),
        "norvale-panel-face 1\nface\tx\t" + (m_dir / "fresh.png").string() + "\t0\n",
    };
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(bytes.substr(bytes.size() > 40 ? bytes.size() - 40 : 0));
        std::ofstream(kept, std::ios::trunc | std::ios::binary) << bytes;
        const Outcome r = png(m_dir / "again.png");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFile(m_dir / "again.png"), fresh);
        EXPECT_EQ(ReadFile(kept), valid) << "the cache is written anew";
    }
}

// Fault: without any usable font the panel is written without its text and
// the run succeeds.
TEST_F(CliProcess, NoUsableFontIsAFailureInOneLine) {
    const fs::path config = m_dir / "fonts.conf";
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" +
                                 (m_dir / "fc-cache").string() + "</cachedir></fontconfig>\n";
    const Outcome r = Launch(
        {"--seed", "1", "--png", (m_dir / "m.png").string()},
        {"FONTCONFIG_FILE=" + config.string(), "XDG_CACHE_HOME=" + (m_dir / "cache").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no usable font"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_FALSE(fs::exists(m_dir / "m.png"));
}

// Fault: under umask 0277 the face cache is made 0400 and never rewritten.
// A picture made 0400 by that umask stays the user's choice: its second
// writing fails and says why.
TEST_F(CliProcess, AStrictUmaskKeepsTheCacheWritableAndTellsTheReadOnlyPicture) {
    const std::string cache = "XDG_CACHE_HOME=" + (m_dir / "cache").string();
    const std::string out = (m_dir / "m.png").string();
    const std::vector<std::string_view> args = {"--seed", "1", "--png", out};
    ASSERT_EQ(Launch(args, {cache}, "umask 0277;").status, 0);
    EXPECT_EQ(ModeOf(out), 0400u);
    EXPECT_EQ(ModeOf(m_dir / "cache" / "norvale" / "panel-face"), 0600u);
    const Outcome again = Launch(args, {cache}, "umask 0277;");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("umask 0277"), std::string::npos) << again.err;
    EXPECT_EQ(again.err.find('\n'), again.err.size() - 1) << again.err;
}

TEST_F(CliProcess, PngIntoAMissingFolderFails) {
    const fs::path target = m_dir / "missing" / "moon.png";
    const Outcome r = Launch({"--seed", "1", "--png", target.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(target));
}

} // namespace
} // namespace norvale::cli
