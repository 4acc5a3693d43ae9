// The built norvale-cli run as a process: exit status, stdout and stderr.
#include "tests/cli/process_fixture.h"
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

} // namespace
} // namespace norvale::cli
