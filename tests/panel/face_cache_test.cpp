// The panel's face kept between runs: used while everything fontconfig read
// is unchanged, asked for again as soon as anything is not.

#include "core/MoonDay.h"
#include "panel/FaceCache.h"
#include "panel/PanelDraw.h"
#include "panel/PanelText.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include <sys/stat.h>

namespace norvale {
namespace {

TEST(FaceCache, KeptWhileUnchangedAndStaleWhenAnythingChanges) {
    const test::TempFolder folder("norvale-face-cache");
    const std::filesystem::path fonts = folder.Path() / "fonts";
    const std::filesystem::path face = fonts / "Face.ttf";
    std::filesystem::create_directories(fonts);
    std::ofstream(face) << "a face";
    const FontFaceFile kept{"DejaVu Sans Condensed", face.string(), 0};
    const std::string cache = (folder.Path() / "cache" / "norvale" / "panel-face").string();
    const test::ScopedEnv variable("FONTCONFIG_PATH", std::nullopt);
    auto store = [&] {
        WriteFaceCache(cache, kept,
                       {StampOf(fonts.string()), FaceStamp{"env:FONTCONFIG_PATH", "unset"}});
    };

    store();
    const auto read = ReadFaceCache(cache);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->path, kept.path);
    EXPECT_EQ(read->family, kept.family);

    struct Change {
        const char* name;
        void (*make)(const std::filesystem::path& fonts, const std::filesystem::path& face);
    };
    const Change changes[] = {
        {"a font added to a font folder",
         [](const std::filesystem::path& f, const std::filesystem::path&) {
             std::ofstream(f / "New.ttf") << "another face";
         }},
        {"the face removed",
         [](const std::filesystem::path&, const std::filesystem::path& file) {
             std::filesystem::rename(file, file.string() + ".gone");
         }},
        {"a variable that chooses fontconfig's files",
         [](const std::filesystem::path&, const std::filesystem::path&) {
             ::setenv("FONTCONFIG_PATH", "/elsewhere", 1);
         }},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        ::unsetenv("FONTCONFIG_PATH");
        std::filesystem::remove(fonts / "New.ttf");
        if (!std::filesystem::exists(face)) {
            std::filesystem::rename(face.string() + ".gone", face);
        }
        store();
        ASSERT_TRUE(ReadFaceCache(cache).has_value());
        c.make(fonts, face);
        EXPECT_FALSE(ReadFaceCache(cache).has_value());
    }
    ::unsetenv("FONTCONFIG_PATH");

    // Anything but the cache's own lines is no answer: a line that is not
    // ours (fault: a stamp named neither "env:" nor "path:" threw
    // std::out_of_range and aborted every start), or no face at all.
    const std::vector<FaceStamp> foreign[] = {
        {{"ab", "missing"}},
        {{"", ""}},
        {{"path:", "missing"}},
        {{"env:", "unset"}},
    };
    for (const auto& stamps : foreign) {
        WriteFaceCache(cache, kept, stamps);
        EXPECT_FALSE(ReadFaceCache(cache).has_value()) << stamps[0].name;
    }
    std::ofstream(cache, std::ios::trunc) << "norvale-panel-face 2\n";
    EXPECT_FALSE(ReadFaceCache(cache).has_value());
}

// A cache folder of the test's own, and the face fontconfig gives with no
// cache at all.
class FaceLookUp : public ::testing::Test {
protected:
    std::string Cache() const { return (m_folder.Path() / "norvale" / "panel-face").string(); }

    const test::TempFolder m_folder{"norvale-face-look-up"};
    const std::optional<FontFaceFile> m_fresh = LookUpPanelFace(std::nullopt, PanelFaceOpens);
};

bool SameFace(const std::optional<FontFaceFile>& a, const std::optional<FontFaceFile>& b) {
    return a && b && a->path == b->path && a->index == b->index;
}

// Fault: only the kept face's existence was checked: a named pipe in its
// place hung the program, and /dev/zero, a folder, garbage or a face index
// FreeType cannot read drew the panel without text and kept the cache.
TEST_F(FaceLookUp, AKeptFaceThatIsNoUsableFontIsDroppedAndFontconfigAsked) {
    ASSERT_TRUE(m_fresh.has_value());
    const std::filesystem::path decoys = m_folder.Path() / "decoys";
    std::filesystem::create_directories(decoys / "folder");
    ASSERT_EQ(::mkfifo((decoys / "pipe").c_str(), 0600), 0);
    std::ofstream(decoys / "garbage") << "not a font at all, only words";
    std::ofstream(decoys / "empty");
    const FontFaceFile bad[] = {
        {"pipe", (decoys / "pipe").string(), 0},
        {"folder", (decoys / "folder").string(), 0},
        {"garbage", (decoys / "garbage").string(), 0},
        {"empty", (decoys / "empty").string(), 0},
        {"index -1", m_fresh->path, -1},
        {"index 99", m_fresh->path, 99},
    };
    for (const FontFaceFile& face : bad) {
        SCOPED_TRACE(face.family);
        EXPECT_FALSE(PanelFaceOpens(face));
        WriteFaceCache(Cache(), face, CurrentFontconfigStamps());
        EXPECT_TRUE(SameFace(LookUpPanelFace(Cache(), PanelFaceOpens), m_fresh));
        EXPECT_TRUE(SameFace(ReadFaceCache(Cache()), m_fresh)) << "the cache is written anew";
    }
    // No usable face at all: nothing, and nothing kept.
    WriteFaceCache(Cache(), bad[2], CurrentFontconfigStamps());
    EXPECT_FALSE(LookUpPanelFace(Cache(), [](const FontFaceFile&) { return false; }));
    EXPECT_FALSE(ReadFaceCache(Cache()).has_value());
}

// Random damage to a valid cache: single bytes changed and ends cut off, each
// followed by the look-up a run makes, which must give the face a fresh
// cache gives (the text's pixels come from that face alone) and leave a
// valid cache again.
TEST_F(FaceLookUp, RandomDamageToTheCacheAlwaysGivesTheFreshFace) {
    ASSERT_TRUE(m_fresh.has_value());
    ASSERT_TRUE(SameFace(LookUpPanelFace(Cache(), PanelFaceOpens), m_fresh));
    const test::Bytes valid = test::ReadBytes(Cache());
    ASSERT_GT(valid.size(), 40u);
    std::mt19937 random(20261207);
    constexpr int kDamages = 240;
    for (int i = 0; i < kDamages; ++i) {
        test::Bytes damaged = valid;
        const std::size_t at = random() % valid.size();
        if (i % 3 == 2) {
            damaged.resize(at);
        } else {
            damaged[at] = static_cast<std::uint8_t>(damaged[at] + 1 + random() % 255);
        }
        SCOPED_TRACE(std::to_string(i) + (i % 3 == 2 ? ": cut at " : ": byte changed at ") +
                     std::to_string(at));
        test::WriteBytes(Cache(), damaged);
        ASSERT_TRUE(SameFace(LookUpPanelFace(Cache(), PanelFaceOpens), m_fresh));
        ASSERT_TRUE(SameFace(ReadFaceCache(Cache()), m_fresh));
    }
}

// A panel drawn with no look-up installed, under a cache and a home folder
// of its own: whether it drew its text and left both folders as they were
// (fontconfig's own cache aside). What was written is told on stderr.
bool DrawsWithoutWriting() {
    const test::TempFolder folder("norvale-no-face-cache");
    const std::filesystem::path cache = folder.Path() / "cache";
    const std::filesystem::path home = folder.Path() / "home";
    std::filesystem::create_directories(cache);
    std::filesystem::create_directories(home);
    const test::ScopedEnv cacheHome("XDG_CACHE_HOME", cache.string());
    const test::ScopedEnv homeFolder("HOME", home.string());
    if (PanelFaceLookUpSeam() || !PanelTextAvailable() ||
        PanelPng(MakeMoonDay(DateValue(37272.5, DateStatus::valid),
                             DateValue(37272.0, DateStatus::valid)),
                 true, 1, 2)
            .empty()) {
        std::cerr << "no panel was drawn without a look-up\n";
        return false;
    }
    bool none = true;
    for (auto it = std::filesystem::recursive_directory_iterator(folder.Path());
         it != std::filesystem::recursive_directory_iterator(); ++it) {
        if (it->path() == cache / "fontconfig") {
            it.disable_recursion_pending();
        } else if (it->path() != cache && it->path() != home) {
            std::cerr << "written: " << it->path() << '\n';
            none = false;
        }
    }
    return none;
}

// Fault: the renderer kept its face in the user's cache itself, so every
// program that drew a panel made ~/.cache/norvale; only the programs that
// install the cache (UsePanelFaceCache) may. The face is looked up once a
// process: the drawing runs in a fresh one.
TEST(FaceCache, ThePanelWithoutTheCacheWritesNoFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(DrawsWithoutWriting() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace norvale
