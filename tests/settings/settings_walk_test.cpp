// The program's own files under a strict umask, the walk through folders one
// may pass through but not list, access lists, the names of temporary files,
// settings folders that cannot be made, and closed standard descriptors.
// Every decoy lives in the test's own temporary folder.
#include "atomicfile/SafePath.h"
#include "atomicfile/StandardStreams.h"
#include "tests/settings/settings_fixture.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace norvale::test {
namespace {

using SettingsWalk = SettingsFolderTest;

mode_t ModeOf(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Fault: a new info.dat is made 0644 & ~umask, so under umask 0277 it is 0400
// and the next save leaves it alone as a file the user made read-only.
TEST_F(SettingsWalk, TheProgramsOwnFileStaysWritableWhateverTheUmask) {
    struct Case {
        mode_t mask;
        mode_t mode;
    };
    for (const Case c :
         {Case{022, 0644}, Case{027, 0640}, Case{077, 0600}, Case{0277, 0600}, Case{0377, 0600}}) {
        SCOPED_TRACE(c.mask);
        std::filesystem::remove_all(Folder());
        const mode_t old = ::umask(c.mask);
        AppSettings settings;
        CreateSettingsFolder(settings);
        const bool first = SaveSettings(settings);
        const bool second = SaveSettings(SampleSettings());
        ::umask(old);
        EXPECT_TRUE(first && second);
        EXPECT_EQ(ModeOf(File()), c.mode);
        EXPECT_EQ(ReadBytes(File()), ToBytes(SampleSettings()));
    }
    // A file the user made read-only is still left alone.
    ::chmod(File().c_str(), 0400);
    FileResult result;
    EXPECT_FALSE(SaveSettings(AppSettings{}, &result));
    EXPECT_TRUE(result.readOnly);
}

// Fault: the walk opened every folder O_RDONLY, so an unprivileged user could
// not reach a file through a folder they may pass through but not list
// (0711), nor write a relative path in a working folder they may not list
// (0333), where the shell creates the file.
TEST_F(SettingsWalk, FoldersThatMayBePassedButNotListedDoNotStopTheWalk) {
    const std::filesystem::path pass = Root() / "pass";
    const std::filesystem::path mine = pass / "mine";
    const std::filesystem::path unlisted = Root() / "unlisted";
    std::filesystem::create_directories(mine);
    std::filesystem::create_directories(unlisted);
    ::chmod(Root().c_str(), 0711);
    ::chmod(pass.c_str(), 0711);
    HandToOtherUser(mine);
    HandToOtherUser(unlisted);
    ::chmod(mine.c_str(), 0700);
    ::chmod(unlisted.c_str(), 0333);
    const std::string absolute = (mine / "out.png").string();
    const std::string working = unlisted.string();
    const bool written = InUnprivilegedChild([&] {
        const std::array<std::uint8_t, 3> bytes = {1, 2, 3};
        const bool through = ReplaceFile(absolute, bytes, OutputFilePolicy()).ok &&
                             ReplaceFile(absolute, bytes, PrivateFilePolicy()).ok;
        return through && ::chdir(working.c_str()) == 0 &&
               ReplaceFile("out.png", bytes, OutputFilePolicy()).ok;
    });
    EXPECT_TRUE(written);
    EXPECT_TRUE(std::filesystem::exists(unlisted / "out.png"));
    EXPECT_EQ(ReadBytes(mine / "out.png"), (Bytes{1, 2, 3}));
}

// The walk holds its folders by descriptors on which an access list cannot
// be read directly; a group-writable folder with a list (its group bits are
// the list's mask: any user it names may write) is refused all the same.
TEST_F(SettingsWalk, AGroupWritableFolderWithAnAccessListIsRefused) {
    std::filesystem::create_directories(Root() / "config");
    // user::rwx, user:65534:rwx, group::r-x, mask::rwx, other::r-x
    struct Entry {
        std::uint16_t tag;
        std::uint16_t perm;
        std::uint32_t id;
    };
    const std::uint32_t version = 2;
    const Entry entries[] = {
        {0x01, 7, ~0u}, {0x02, 7, kOtherUid}, {0x04, 5, ~0u}, {0x10, 7, ~0u}, {0x20, 5, ~0u}};
    std::vector<char> list(sizeof version + sizeof entries);
    std::memcpy(list.data(), &version, sizeof version);
    std::memcpy(list.data() + sizeof version, entries, sizeof entries);
    const auto folder = Root() / "config";
    ASSERT_EQ(::setxattr(folder.c_str(), "system.posix_acl_access", list.data(), list.size(), 0), 0)
        << "access lists are not supported here";
    ASSERT_EQ(ModeOf(folder) & 0070, 0070u);
    AppSettings settings;
    CreateSettingsFolder(settings);
    FileResult result;
    EXPECT_FALSE(SaveSettings(settings, &result));
    EXPECT_TRUE(result.refused) << result.message;
    EXPECT_FALSE(std::filesystem::exists(File()));
}

// Fault: a settings folder 45 levels deep had 40 folders made before the walk
// gave up silently, and "/x/nope/../cfg" left a stray folder "nope". Both are
// refused before anything is made, with the reason in one line.
TEST_F(SettingsWalk, ASettingsFolderThatCannotBeMadeLeavesNothingBehind) {
    std::string deep = (Root() / "deep").string();
    for (int i = 0; i < 44; ++i) {
        deep += "/d";
    }
    const std::string cases[] = {deep, (Root() / "nope" / ".." / "cfg").string()};
    for (const std::string& config : cases) {
        SCOPED_TRACE(config.substr(Root().string().size()));
        const ScopedEnv xdg("XDG_CONFIG_HOME", config);
        AppSettings settings;
        FileResult result;
        CreateSettingsFolder(settings, &result);
        EXPECT_TRUE(result.refused);
        EXPECT_FALSE(result.message.empty());
        EXPECT_EQ(result.message.find('\n'), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(Root() / "deep"));
        EXPECT_FALSE(std::filesystem::exists(Root() / "nope"));
        EXPECT_FALSE(std::filesystem::exists(Root() / "cfg"));
    }
}

// Fault: neither program made sure descriptors 0-2 were open, so the next
// file or connection it opened took the number of a closed stderr and
// received every message.
TEST(StandardDescriptors, ClosedOnesAreOpenedOnDevNull) {
    int saved[3];
    for (int fd = 0; fd < 3; ++fd) {
        saved[fd] = ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
    }
    ::close(0);
    ::close(2);
    OpenClosedStandardDescriptors();
    std::string targets[3];
    for (int fd = 0; fd < 3; ++fd) {
        char target[64] = {};
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        if (::readlink(link.c_str(), target, sizeof target - 1) > 0) {
            targets[fd] = target;
        }
        ::dup2(saved[fd], fd);
        ::close(saved[fd]);
    }
    EXPECT_EQ(targets[0], "/dev/null");
    EXPECT_EQ(targets[2], "/dev/null");
}

} // namespace
} // namespace norvale::test
