// Reading and writing the 14-byte settings record and finding its file.
#include "tests/settings/settings_fixture.h"

#include <climits>
#include <random>

#include <sys/stat.h>

namespace norvale::test {
namespace {

using SettingsFile = SettingsFolderTest;

// nLeft 0x01020304, nTop -2, nDateFormat 3, Southern, compact.
const Bytes kStored = {0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 0, 0};

TEST(SettingsBytes, LayoutIsLittleEndianWithOneByteFlags) {
    AppSettings settings;
    settings.nLeft = 0x01020304;
    settings.nTop = -2;
    settings.nDateFormat = 3;
    settings.bNorthern = false;
    settings.bFull = false;
    EXPECT_EQ(ToBytes(settings), kStored);
    settings.bNorthern = true;
    settings.bFull = true;
    const Bytes flagsSet = ToBytes(settings);
    EXPECT_EQ(flagsSet[12], 1);
    EXPECT_EQ(flagsSet[13], 1);
}

TEST(SettingsLocation, FollowsTheConfigFolderVariables) {
    struct Case {
        const char* xdg;  // nullptr: unset
        const char* home; // nullptr: unset
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"/x/cfg", "/h", "/x/cfg/Norvale/info.dat"},
        {"", "/h", "/h/.config/Norvale/info.dat"},
        {"relative/cfg", "/h", "/h/.config/Norvale/info.dat"},
        {nullptr, "/h", "/h/.config/Norvale/info.dat"},
        {nullptr, nullptr, std::nullopt},
        {nullptr, "", std::nullopt},
        {"", "relative/home", std::nullopt},
    };
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::optional<std::string> savedXdg =
        oldXdg ? std::optional<std::string>(oldXdg) : std::nullopt;
    const std::optional<std::string> savedHome =
        oldHome ? std::optional<std::string>(oldHome) : std::nullopt;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("XDG_CONFIG_HOME=") + (c.xdg ? c.xdg : "(unset)") +
                     " HOME=" + (c.home ? c.home : "(unset)"));
        c.xdg ? ::setenv("XDG_CONFIG_HOME", c.xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
        c.home ? ::setenv("HOME", c.home, 1) : ::unsetenv("HOME");
        EXPECT_EQ(SettingsFilePath(), c.expected);
        if (c.expected) {
            EXPECT_EQ(SettingsFolderPath(), c.expected->substr(0, c.expected->size() - 8));
        } else {
            EXPECT_EQ(SettingsFolderPath(), std::nullopt);
        }
    }
    savedXdg ? ::setenv("XDG_CONFIG_HOME", savedXdg->c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    savedHome ? ::setenv("HOME", savedHome->c_str(), 1) : ::unsetenv("HOME");
}

TEST_F(SettingsFile, FirstStartCreatesTheFolderWithItsParentsAndResets) {
    AppSettings settings = SampleSettings();
    EXPECT_FALSE(LoadSettings(settings));
    // Only the hemisphere goes back to its default when there is no file.
    EXPECT_TRUE(settings.bNorthern);
    EXPECT_EQ(settings.nLeft, 120);
    EXPECT_EQ(settings.nDateFormat, 2);
    EXPECT_FALSE(settings.bFull);

    ASSERT_FALSE(std::filesystem::exists(Root() / "config"));
    CreateSettingsFolder(settings);
    EXPECT_TRUE(std::filesystem::is_directory(Folder()));
    EXPECT_EQ(settings.nDateFormat, 5);
    EXPECT_TRUE(settings.bFull);
    EXPECT_EQ(settings.nLeft, 120);
    EXPECT_EQ(settings.nTop, -40);

    ASSERT_TRUE(SaveSettings(settings));
    AppSettings loaded;
    ASSERT_TRUE(LoadSettings(loaded));
    EXPECT_TRUE(SameSettings(loaded, settings));
}

TEST_F(SettingsFile, WithoutAnAbsoluteFolderNothingIsReadOrWrittenAnywhere) {
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "relative", 1);
    const std::filesystem::path oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(Root());

    AppSettings settings = SampleSettings();
    EXPECT_FALSE(LoadSettings(settings));
    EXPECT_TRUE(settings.bNorthern);
    CreateSettingsFolder(settings);
    EXPECT_EQ(settings.nDateFormat, 5);
    EXPECT_FALSE(SaveSettings(settings));
    EXPECT_TRUE(Names(Root()).empty());

    std::filesystem::current_path(oldCwd);
}

TEST_F(SettingsFile, ShortFileKeepsTheFieldsReadSoFar) {
    const AppSettings before = SampleSettings();
    for (std::size_t length = 0; length < kSettingsFileSize; ++length) {
        SCOPED_TRACE("length " + std::to_string(length));
        WriteFile(Bytes(kStored.begin(), kStored.begin() + static_cast<long>(length)));
        AppSettings settings = before;
        settings.bNorthern = true; // shows whether a zero flag byte was read
        settings.bFull = true;
        EXPECT_FALSE(LoadSettings(settings));
        EXPECT_EQ(settings.nLeft, length >= 4 ? 0x01020304 : before.nLeft);
        EXPECT_EQ(settings.nTop, length >= 8 ? -2 : before.nTop);
        EXPECT_EQ(settings.nDateFormat, length >= 12 ? 3 : before.nDateFormat);
        EXPECT_EQ(settings.bNorthern, length < 13);
        EXPECT_TRUE(settings.bFull);
    }
}

TEST_F(SettingsFile, ThirteenByteFileKeepsPositionAndHemisphereButResetsTheRest) {
    WriteFile(Bytes(kStored.begin(), kStored.begin() + 13));
    AppSettings settings;
    ASSERT_FALSE(LoadSettings(settings));
    CreateSettingsFolder(settings);
    EXPECT_EQ(settings.nLeft, 0x01020304);
    EXPECT_EQ(settings.nTop, -2);
    EXPECT_FALSE(settings.bNorthern);
    EXPECT_EQ(settings.nDateFormat, 5);
    EXPECT_TRUE(settings.bFull);
}

TEST_F(SettingsFile, EveryFlagByteReadsTrueUnlessZeroAndIsWrittenAsOneOrZero) {
    for (int value = 0; value <= 255; ++value) {
        SCOPED_TRACE("flag byte " + std::to_string(value));
        Bytes bytes = kStored;
        bytes[12] = static_cast<std::uint8_t>(value);
        bytes[13] = static_cast<std::uint8_t>(255 - value);
        WriteFile(bytes);
        AppSettings settings;
        ASSERT_TRUE(LoadSettings(settings));
        EXPECT_EQ(settings.bNorthern, value != 0);
        EXPECT_EQ(settings.bFull, value != 255);
        ASSERT_TRUE(SaveSettings(settings));
        const Bytes written = ReadBytes(File());
        ASSERT_EQ(written.size(), kSettingsFileSize);
        EXPECT_EQ(written[12], value != 0 ? 1 : 0);
        EXPECT_EQ(written[13], value != 255 ? 1 : 0);
    }
}

TEST_F(SettingsFile, AnyDateFormatIndexIsReadAndWrittenBackUnchanged) {
    for (const std::int32_t index : {7, 12, INT_MIN, -15, -1, 6, 9, 10, INT_MAX, 0, 5}) {
        SCOPED_TRACE("index " + std::to_string(index));
        AppSettings stored = SampleSettings();
        stored.nDateFormat = index;
        const Bytes bytes = ToBytes(stored);
        WriteFile(bytes);
        AppSettings settings;
        ASSERT_TRUE(LoadSettings(settings));
        EXPECT_EQ(settings.nDateFormat, index);
        ASSERT_TRUE(SaveSettings(settings));
        EXPECT_EQ(ReadBytes(File()), bytes);
    }
}

TEST_F(SettingsFile, ExtraBytesAreIgnoredAndDroppedByTheNextSave) {
    Bytes bytes = kStored;
    bytes.insert(bytes.end(), {9, 9, 9, 9, 9, 9});
    WriteFile(bytes);
    AppSettings settings;
    ASSERT_TRUE(LoadSettings(settings));
    EXPECT_EQ(settings.nLeft, 0x01020304);
    EXPECT_FALSE(settings.bFull);
    ASSERT_TRUE(SaveSettings(settings));
    EXPECT_EQ(ReadBytes(File()), kStored);
}

TEST_F(SettingsFile, RandomContentReadsAsTheBytesSay) {
    std::mt19937 random(20240611u);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        Bytes bytes(static_cast<std::size_t>(length(random)));
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        WriteFile(bytes);
        AppSettings fromFile = SampleSettings();
        AppSettings fromBytes = SampleSettings();
        const bool fileComplete = LoadSettings(fromFile);
        EXPECT_EQ(fileComplete, LoadSettingsFromBytes(bytes, fromBytes));
        EXPECT_EQ(fileComplete, bytes.size() >= kSettingsFileSize);
        EXPECT_TRUE(SameSettings(fromFile, fromBytes)) << "round " << round;
    }
}

// Things in place of the file that must read as "cannot be opened", quickly.
TEST_F(SettingsFile, NonRegularFileInPlaceGivesTheDefaults) {
    struct Case {
        const char* name;
        void (*make)(const std::filesystem::path&);
    };
    const Case cases[] = {
        {"folder", [](const std::filesystem::path& p) { std::filesystem::create_directory(p); }},
        {"named pipe",
         [](const std::filesystem::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        {"device",
         [](const std::filesystem::path& p) { std::filesystem::create_symlink("/dev/zero", p); }},
        {"dangling link",
         [](const std::filesystem::path& p) { std::filesystem::create_symlink("nowhere", p); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeFolder();
        std::filesystem::remove_all(File());
        c.make(File());
        AppSettings settings = SampleSettings();
        EXPECT_FALSE(LoadSettings(settings));
        EXPECT_TRUE(settings.bNorthern);
        EXPECT_EQ(settings.nLeft, 120);
        CreateSettingsFolder(settings);
        EXPECT_EQ(settings.nDateFormat, 5);
        EXPECT_TRUE(settings.bFull);
    }
}

TEST_F(SettingsFile, UnreadableFileGivesTheDefaults) {
    WriteFile(kStored);
    // File permissions do not stop root from reading: the reader is a child
    // that is the other user when this is root.
    ::chmod(Root().c_str(), 0755);
    for (const auto& path : {Root() / "config", Folder(), File()}) {
        HandToOtherUser(path);
    }
    std::filesystem::permissions(File(), std::filesystem::perms::none);
    EXPECT_TRUE(InUnprivilegedChild([] {
        AppSettings settings = SampleSettings();
        return !LoadSettings(settings) && settings.bNorthern && settings.nLeft == 120;
    }));
}

} // namespace
} // namespace norvale::test
