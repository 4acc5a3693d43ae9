// Saving safely: failed steps, read-only files, links, modes and rival savers.
#include "tests/settings/settings_fixture.h"

#include <algorithm>
#include <barrier>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>

namespace norvale::test {
namespace {

using SettingsSave = SettingsFolderTest;

const SaveStep kAllSteps[] = {SaveStep::Open, SaveStep::Mode,  SaveStep::Write,
                              SaveStep::Sync, SaveStep::Close, SaveStep::Rename};

const char* StepName(SaveStep step) {
    switch (step) {
    case SaveStep::Open:
        return "open";
    case SaveStep::Mode:
        return "mode";
    case SaveStep::Write:
        return "write";
    case SaveStep::Sync:
        return "sync";
    case SaveStep::Close:
        return "close";
    case SaveStep::Rename:
        return "rename";
    }
    return "?";
}

std::filesystem::perms ModeOf(const std::filesystem::path& path) {
    return std::filesystem::status(path).permissions();
}

TEST_F(SettingsSave, AFailedStepLeavesTheOldFileAndNoTemporaryFile) {
    const Bytes old = ToBytes(SampleSettings());
    for (const bool fileExists : {true, false}) {
        for (const SaveStep failing : kAllSteps) {
            SCOPED_TRACE(std::string(StepName(failing)) + (fileExists ? " over a file" : " new"));
            MakeFolder();
            std::filesystem::remove(File());
            if (fileExists) {
                WriteFile(old);
            }
            int calls = 0;
            SaveFaultSeam() = SaveFaultHook([&](SaveStep step) {
                ++calls;
                return step == failing;
            });
            EXPECT_FALSE(SaveSettings(AppSettings{}));
            SaveFaultSeam() = nullptr;
            EXPECT_GT(calls, 0);
            if (fileExists) {
                EXPECT_EQ(ReadBytes(File()), old);
                EXPECT_EQ(Names(Folder()), std::set<std::string>{"info.dat"});
            } else {
                EXPECT_TRUE(Names(Folder()).empty());
            }
        }
    }
}

TEST_F(SettingsSave, EveryStepIsTakenOnASuccessfulSave) {
    WriteFile(ToBytes(SampleSettings()));
    std::vector<SaveStep> steps;
    SaveFaultSeam() = SaveFaultHook([&](SaveStep step) {
        steps.push_back(step);
        return false;
    });
    ASSERT_TRUE(SaveSettings(AppSettings{}));
    EXPECT_EQ(steps, std::vector<SaveStep>(std::begin(kAllSteps), std::end(kAllSteps)));
    EXPECT_EQ(ReadBytes(File()), ToBytes(AppSettings{}));
}

TEST_F(SettingsSave, FolderDeletedDuringTheRunFailsQuietly) {
    AppSettings settings;
    EXPECT_FALSE(LoadSettings(settings));
    CreateSettingsFolder(settings);
    std::filesystem::remove_all(Folder());
    EXPECT_FALSE(SaveSettings(settings));
    EXPECT_FALSE(std::filesystem::exists(Folder()));
}

TEST_F(SettingsSave, ReadOnlyFileIsNotReplaced) {
    const Bytes old = ToBytes(SampleSettings());
    WriteFile(old);
    const auto readOnly = std::filesystem::perms::owner_read | std::filesystem::perms::group_read;
    std::filesystem::permissions(File(), readOnly);
    EXPECT_FALSE(SaveSettings(AppSettings{}));
    EXPECT_EQ(ReadBytes(File()), old);
    EXPECT_EQ(ModeOf(File()), readOnly);
    EXPECT_EQ(Names(Folder()), std::set<std::string>{"info.dat"});
}

TEST_F(SettingsSave, NonRegularFileInPlaceIsLeftAlone) {
    MakeFolder();
    ASSERT_EQ(::mkfifo(File().c_str(), 0644), 0);
    EXPECT_FALSE(SaveSettings(AppSettings{}));
    EXPECT_TRUE(std::filesystem::is_fifo(File()));
    std::filesystem::remove(File());
    std::filesystem::create_directory(File());
    EXPECT_FALSE(SaveSettings(AppSettings{}));
    EXPECT_TRUE(std::filesystem::is_directory(File()));
    EXPECT_EQ(Names(Folder()), std::set<std::string>{"info.dat"});
}

TEST_F(SettingsSave, SymbolicLinkKeepsPointingAtItsTarget) {
    struct Case {
        const char* name;
        bool absolute;
        bool targetExists;
    };
    const Case cases[] = {
        {"relative link", false, true},
        {"absolute link", true, true},
        {"dangling link", false, false},
    };
    const std::filesystem::path elsewhere = Root() / "elsewhere";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Folder());
        std::filesystem::remove_all(elsewhere);
        MakeFolder();
        std::filesystem::create_directories(elsewhere);
        const std::filesystem::path target = elsewhere / "real.dat";
        if (c.targetExists) {
            WriteBytes(target, ToBytes(SampleSettings()));
        }
        const std::filesystem::path linkText =
            c.absolute ? target : std::filesystem::path("../../elsewhere/real.dat");
        std::filesystem::create_symlink(linkText, File());

        ASSERT_TRUE(SaveSettings(AppSettings{}));
        ASSERT_TRUE(std::filesystem::is_symlink(File()));
        EXPECT_EQ(std::filesystem::read_symlink(File()), linkText);
        EXPECT_EQ(ReadBytes(target), ToBytes(AppSettings{}));
        EXPECT_EQ(Names(Folder()), std::set<std::string>{"info.dat"});
        EXPECT_EQ(Names(elsewhere), std::set<std::string>{"real.dat"});
        AppSettings loaded = SampleSettings();
        EXPECT_TRUE(LoadSettings(loaded));
        EXPECT_TRUE(SameSettings(loaded, AppSettings{}));
    }
}

TEST_F(SettingsSave, ReplacedFileKeepsItsMode) {
    using std::filesystem::perms;
    for (const perms mode : {perms::owner_read | perms::owner_write,
                             perms::owner_read | perms::owner_write | perms::group_read,
                             perms::owner_read | perms::owner_write | perms::group_all |
                                 perms::others_read | perms::others_write}) {
        SCOPED_TRACE(static_cast<int>(mode));
        WriteFile(ToBytes(SampleSettings()));
        std::filesystem::permissions(File(), mode);
        ASSERT_TRUE(SaveSettings(AppSettings{}));
        EXPECT_EQ(ModeOf(File()), mode);
    }
}

TEST_F(SettingsSave, NewFileTakesTheUmask) {
    MakeFolder();
    const mode_t oldMask = ::umask(027);
    const bool saved = SaveSettings(AppSettings{});
    ::umask(oldMask);
    ASSERT_TRUE(saved);
    using std::filesystem::perms;
    EXPECT_EQ(ModeOf(File()), perms::owner_read | perms::owner_write | perms::group_read);
}

// Two threads hold their finished temporary files until both are ready to
// rename, so the renames race; the file must be one whole record.
TEST_F(SettingsSave, TwoSimultaneousSavesLeaveOneCompleteFile) {
    MakeFolder();
    AppSettings first = SampleSettings();
    AppSettings second;
    second.nLeft = 7;
    second.nTop = 8;
    second.nDateFormat = 9;
    for (int round = 0; round < 20; ++round) {
        std::barrier bothReady(2);
        SaveFaultSeam() = SaveFaultHook([&](SaveStep step) {
            if (step == SaveStep::Rename) {
                bothReady.arrive_and_wait();
            }
            return false;
        });
        bool firstSaved = false;
        bool secondSaved = false;
        std::thread rival([&] { secondSaved = SaveSettings(second); });
        firstSaved = SaveSettings(first);
        rival.join();
        SaveFaultSeam() = nullptr;
        EXPECT_TRUE(firstSaved);
        EXPECT_TRUE(secondSaved);
        const Bytes content = ReadBytes(File());
        EXPECT_TRUE(content == ToBytes(first) || content == ToBytes(second)) << "round " << round;
        EXPECT_EQ(Names(Folder()), std::set<std::string>{"info.dat"});
    }
}

// Several processes save over and over while this one reads: every read sees
// one whole record, and the last file is one of them.
TEST_F(SettingsSave, RivalProcessesNeverMixTheirRecords) {
    MakeFolder();
    constexpr int kWriters = 3;
    constexpr int kSavesEach = 150;
    std::vector<Bytes> records;
    for (int i = 0; i < kWriters; ++i) {
        AppSettings settings;
        settings.nLeft = 1000 * (i + 1);
        settings.nTop = -1000 * (i + 1);
        settings.nDateFormat = i;
        settings.bNorthern = i % 2 == 0;
        settings.bFull = i % 2 != 0;
        records.push_back(ToBytes(settings));
    }
    ASSERT_TRUE(SaveSettings(AppSettings{}));
    records.push_back(ToBytes(AppSettings{}));

    std::vector<pid_t> children;
    for (int i = 0; i < kWriters; ++i) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            AppSettings mine;
            LoadSettingsFromBytes(records[static_cast<std::size_t>(i)], mine);
            int failures = 0;
            for (int n = 0; n < kSavesEach; ++n) {
                failures += SaveSettings(mine) ? 0 : 1;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    int badReads = 0;
    for (int n = 0; n < 300; ++n) {
        const Bytes content = ReadBytes(File());
        badReads += std::find(records.begin(), records.end(), content) == records.end() ? 1 : 0;
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(badReads, 0);
    const Bytes last = ReadBytes(File());
    EXPECT_NE(std::find(records.begin(), records.end() - 1, last), records.end() - 1);
    EXPECT_EQ(Names(Folder()), std::set<std::string>{"info.dat"});
}

} // namespace
} // namespace norvale::test
