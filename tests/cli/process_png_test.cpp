// The built norvale-cli run as a process: the true Moon's picture, the PNG
// to standard output, and the panel's face under damage and strict umasks.
#include "tests/cli/process_fixture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace norvale::cli {
namespace {

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
