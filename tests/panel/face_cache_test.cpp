// The panel's face kept between runs: used while everything fontconfig read
// is unchanged, asked for again as soon as anything is not.

#include "panel/FaceCache.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

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

    // Anything but the cache's own lines is no answer.
    std::ofstream(cache, std::ios::trunc) << "norvale-panel-face 2\n";
    EXPECT_FALSE(ReadFaceCache(cache).has_value());
}

} // namespace
} // namespace norvale
