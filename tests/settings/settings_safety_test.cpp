// A save never writes where the user could not: other users' links and
// folders, set-id bits, modes whatever the umask, read-only folders and the
// leftovers of killed saves. Every decoy lives in the test's own temporary
// folder; ownership is handed to the other user only inside it.
#include "atomicfile/SafePath.h"
#include "tests/settings/settings_fixture.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <vector>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace norvale::test {
namespace {

using SettingsSafety = SettingsFolderTest;
using std::filesystem::perms;

mode_t RawMode(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

TEST(FolderDistrust, OwnersAndWhoMayChangeTheFolder) {
    constexpr uid_t me = 1000;
    struct Case {
        const char* name;
        FolderFacts facts;
        bool trusted;
    };
    const Case cases[] = {
        {"mine, 0700", {me, 0700, false}, true},
        {"root's, 0755", {0, 0755, false}, true},
        {"another user's", {1001, 0700, false}, false},
        {"writable by every user", {me, 0777, false}, false},
        {"writable by every user, sticky (/tmp)", {0, 01777, false}, true},
        {"writable by a shared group", {me, 0775, false}, false},
        {"writable by my private group", {me, 0775, true}, true},
        {"writable by a shared group, sticky", {0, 01775, false}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FolderDistrust(c.facts, me).empty(), c.trusted);
    }
    EXPECT_TRUE(MayFollowLink(me, me));
    EXPECT_TRUE(MayFollowLink(0, me));
    EXPECT_FALSE(MayFollowLink(1001, me));
}

// Root saves with another user's settings folder (a plain su keeps
// XDG_CONFIG_HOME): that user's links must not redirect the save.
TEST_F(SettingsSafety, AnotherUsersLinksAndFoldersAreNotFollowed) {
    if (!RunningAsRoot()) {
        GTEST_SKIP() << "only root can hand decoys to another user";
    }
    const std::filesystem::path decoy = Root() / "decoy";
    const std::filesystem::path decoyFolder = Root() / "decoy-folder";
    const Bytes decoyBytes = {'k', 'e', 'e', 'p'};
    enum class Plant {
        FileLinkInTheirFolder,
        TheirLinkInMyFolder,
        DanglingLink,
        FolderLink,
        TheirConfigFolder,
        OpenFolder
    };
    const std::pair<const char*, Plant> cases[] = {
        {"info.dat a link of the folder's owner", Plant::FileLinkInTheirFolder},
        {"info.dat another user's link in my folder", Plant::TheirLinkInMyFolder},
        {"a dangling link of another user", Plant::DanglingLink},
        {"Norvale another user's link to a root folder", Plant::FolderLink},
        {"the config folder belongs to another user", Plant::TheirConfigFolder},
        {"a folder on the way writable by everyone", Plant::OpenFolder},
    };
    for (const auto& [name, plant] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(Root() / "config");
        std::filesystem::remove_all(decoyFolder);
        std::filesystem::create_directories(decoyFolder);
        WriteBytes(decoy, decoyBytes);
        ::chmod(decoy.c_str(), 04755);
        if (plant == Plant::FolderLink) {
            std::filesystem::create_directories(Folder().parent_path());
            std::filesystem::create_symlink(decoyFolder, Folder());
            HandToOtherUser(Folder());
        } else {
            MakeFolder();
        }
        switch (plant) {
        case Plant::FileLinkInTheirFolder:
            std::filesystem::create_symlink(decoy, File());
            HandToOtherUser(File());
            HandToOtherUser(Folder());
            break;
        case Plant::TheirLinkInMyFolder:
            std::filesystem::create_symlink(decoy, File());
            HandToOtherUser(File());
            break;
        case Plant::DanglingLink:
            std::filesystem::create_symlink(decoy.string() + "-new", File());
            HandToOtherUser(File());
            break;
        case Plant::FolderLink:
            break;
        case Plant::TheirConfigFolder:
            HandToOtherUser(Folder().parent_path());
            break;
        case Plant::OpenFolder:
            std::filesystem::permissions(Folder().parent_path(), perms::all);
            break;
        }

        FileResult result;
        EXPECT_FALSE(SaveSettings(SampleSettings(), &result));
        EXPECT_TRUE(result.refused) << result.message;
        EXPECT_FALSE(result.message.empty());
        EXPECT_EQ(ReadBytes(decoy), decoyBytes);
        EXPECT_EQ(RawMode(decoy), 04755u);
        EXPECT_FALSE(std::filesystem::exists(decoy.string() + "-new"));
        EXPECT_TRUE(std::filesystem::is_empty(decoyFolder));
        AppSettings loaded;
        EXPECT_FALSE(LoadSettings(loaded, &result));
    }
}

TEST_F(SettingsSafety, SetIdAndStickyBitsAreNeverCarriedOver) {
    for (const mode_t mode : {04755, 02755, 01755, 06644}) {
        SCOPED_TRACE(mode);
        WriteFile(ToBytes(SampleSettings()));
        ASSERT_EQ(::chmod(File().c_str(), mode), 0);
        ASSERT_TRUE(SaveSettings(AppSettings{}));
        EXPECT_EQ(RawMode(File()), mode & 0777);
    }
}

TEST_F(SettingsSafety, FoldersArePrivateAndANewFileNeverWritableByOthers) {
    const mode_t oldMask = ::umask(0);
    AppSettings settings;
    CreateSettingsFolder(settings);
    const bool saved = SaveSettings(settings);
    ::umask(oldMask);
    ASSERT_TRUE(saved);
    EXPECT_EQ(RawMode(Folder()), 0700u);
    EXPECT_EQ(RawMode(Folder().parent_path()), 0700u); // the missing parent too
    EXPECT_EQ(RawMode(File()), 0644u);
}

// A user who made the folder read-only but left info.dat writable still has
// the file saved, written in place; a read-only file stays as it is.
TEST_F(SettingsSafety, ReadOnlyFolderWritesAWritableFileInPlace) {
    const Bytes old = ToBytes(SampleSettings());
    for (const bool fileWritable : {true, false}) {
        SCOPED_TRACE(fileWritable ? "writable file" : "read-only file");
        WriteFile(old);
        ::chmod(File().c_str(), fileWritable ? 0644 : 0444);
        // The child (the other user, when this is root) owns the folders it
        // saves into; the test's own root folder lets it pass.
        ::chmod(Root().c_str(), 0755);
        for (const auto& p : {Root() / "config", Folder(), File()}) {
            HandToOtherUser(p);
        }
        ::chmod(Folder().c_str(), 0555);
        const bool saved = InUnprivilegedChild([] {
            FileResult result;
            return SaveSettings(AppSettings{}, &result) && result.inPlace;
        });
        ::chmod(Folder().c_str(), 0755);
        EXPECT_EQ(saved, fileWritable);
        EXPECT_EQ(ReadBytes(File()), fileWritable ? ToBytes(AppSettings{}) : old);
        EXPECT_EQ(Names(Folder()), std::set<std::string>{"info.dat"});
    }
}

// Fault: the folders are made with mkdirat(0700) and the umask still applies,
// so a restrictive umask leaves them 0500 (or less) and later saves of an
// unprivileged user fail.
TEST_F(SettingsSafety, FoldersArePrivateWhateverARestrictiveUmask) {
    for (const mode_t mask : {022, 077, 0277, 0377}) {
        SCOPED_TRACE(mask);
        std::filesystem::remove_all(Root() / "config");
        const mode_t oldMask = ::umask(mask);
        AppSettings settings;
        CreateSettingsFolder(settings);
        ::umask(oldMask);
        EXPECT_EQ(RawMode(Folder()), 0700u);
        EXPECT_EQ(RawMode(Folder().parent_path()), 0700u);
    }
}

// A user whose primary group is the folder's group, without being listed in
// the group's members, can change the folder too.
std::optional<uid_t> AnotherUserWithPrimaryGroup(gid_t gid, uid_t owner) {
    ::setpwent();
    std::optional<uid_t> found;
    while (const passwd* entry = ::getpwent()) {
        if (entry->pw_gid == gid && entry->pw_uid != owner) {
            found = entry->pw_uid;
            break;
        }
    }
    ::endpwent();
    return found;
}

// Fault: the private-group rule accepts a group-writable folder when the
// group lists no member and is its owner's primary group, without asking
// whether it is also another user's primary group (Debian's nogroup is the
// primary group of nobody, _apt and sync).
TEST_F(SettingsSafety, AGroupThatIsAnotherUsersPrimaryGroupIsNotPrivate) {
    const std::optional<uid_t> other = AnotherUserWithPrimaryGroup(kOtherGid, kOtherUid);
    if (!RunningAsRoot() || !other) {
        SUCCEED() << "needs root and a second user whose primary group is " << kOtherGid;
        return;
    }
    ::chmod(Root().c_str(), 0755);
    std::filesystem::create_directories(Root() / "config");
    HandToOtherUser(Root() / "config");
    ::chmod((Root() / "config").c_str(), 0770);
    const bool refused = InUnprivilegedChild([] {
        AppSettings settings;
        CreateSettingsFolder(settings);
        FileResult result;
        return !SaveSettings(settings, &result) && result.refused;
    });
    EXPECT_TRUE(refused) << "uid " << *other << " may change the folder through its primary group";
}

// Fault: the in-place write (read-only folder, writable file) writes over the
// old bytes and truncates only after the whole write, so a write cut off part
// way leaves the new record's head on the old record's tail, a whole-looking
// file of mixed fields, not the file "cut short".
TEST_F(SettingsSafety, AnInPlaceSaveCutOffPartWayNeverMixesOldAndNewBytes) {
    const Bytes old = ToBytes(SampleSettings());
    const Bytes fresh = ToBytes(AppSettings{});
    for (const rlim_t limit : {rlim_t{0}, rlim_t{4}, rlim_t{8}, rlim_t{13}}) {
        SCOPED_TRACE(limit);
        WriteFile(old);
        ::chmod(File().c_str(), 0644);
        ::chmod(Root().c_str(), 0755);
        for (const auto& p : {Root() / "config", Folder(), File()}) {
            HandToOtherUser(p);
        }
        ::chmod(Folder().c_str(), 0555);
        const bool failedInPlace = InUnprivilegedChild([limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit fileSize{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &fileSize);
            FileResult result;
            return !SaveSettings(AppSettings{}, &result) && result.inPlace;
        });
        ::chmod(Folder().c_str(), 0755);
        EXPECT_TRUE(failedInPlace);
        const Bytes now = ReadBytes(File());
        const bool untouched = now == old;
        const bool cutShort =
            now.size() < fresh.size() && std::equal(now.begin(), now.end(), fresh.begin());
        EXPECT_TRUE(untouched || cutShort) << now.size()
                                           << " bytes, not the old record nor a "
                                              "prefix of the new one";
    }
}

// Fault (the names): any old file that merely looked like a temporary name
// was removed, the user's own ".out.png.2024-01-01.tmp" say. Only the
// program's own names go: a fixed prefix, the file's name and 16 random
// hexadecimal digits.
TEST_F(SettingsSafety, StaleTemporariesOfKilledSavesAreRemoved) {
    WriteFile(ToBytes(SampleSettings()));
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2);
    struct Leftover {
        const char* name;
        bool stale;
        bool othersFile;
        bool removed;
    };
    const Leftover leftovers[] = {
        {".norvale-tmp.info.dat.3f9a1c0e5b7d2a64", true, false, true},
        {".norvale-tmp.info.dat.00000000000000aa", false, false, false}, // a save still running
        {".info.dat.2024-01-01.tmp", true, false, false},                // the user's own
        {".info.dat.123-4-5678.tmp", true, false, false},
        {".norvale-tmp.info.dat.3f9a1c0e5b7d2a6", true, false, false},   // 15 digits
        {".norvale-tmp.info.dat.3F9A1C0E5B7D2A64", true, false, false},  // not as written
        {".norvale-tmp.other.dat.3f9a1c0e5b7d2a64", true, false, false}, // another file's
        {".norvale-tmp.info.dat.0123456789abcdef", true, RunningAsRoot(),
         !RunningAsRoot()}, // another user's
    };
    for (const Leftover& l : leftovers) {
        WriteBytes(Folder() / l.name, {1, 2, 3});
        if (l.stale) {
            std::filesystem::last_write_time(Folder() / l.name, old);
        }
        if (l.othersFile) {
            HandToOtherUser(Folder() / l.name);
        }
    }
    std::vector<std::string> during;
    const ScopedOverride hook(SaveFaultSeam(), [&](SaveStep step) {
        for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
            if (step == SaveStep::Write) {
                during.push_back(entry.path().filename().string());
            }
        }
        return false;
    });
    ASSERT_TRUE(SaveSettings(AppSettings{}));
    for (const Leftover& l : leftovers) {
        EXPECT_EQ(std::filesystem::exists(Folder() / l.name), !l.removed) << l.name;
    }
    // The save's own temporary file has such a name.
    EXPECT_EQ(
        std::count_if(during.begin(), during.end(),
                      [&](const std::string& n) {
                          return std::none_of(std::begin(leftovers), std::end(leftovers),
                                              [&n](const Leftover& l) { return n == l.name; }) &&
                                 n.size() == 22 + 16 && n.starts_with(".norvale-tmp.info.dat.") &&
                                 n.find_first_not_of("0123456789abcdef", 22) == std::string::npos;
                      }),
        1);
}

} // namespace
} // namespace norvale::test
