#pragma once

#include "atomicfile/AtomicFile.h"
#include "settings/Settings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace norvale::test {

inline Bytes ToBytes(const AppSettings& settings) {
    const auto array = SettingsToBytes(settings);
    return Bytes(array.begin(), array.end());
}

// Every name in a folder, hidden ones included.
inline std::set<std::string> Names(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

inline bool RunningAsRoot() {
    return ::geteuid() == 0;
}

// The user and group that decoys are handed to and that a child process
// drops to where a test needs an unprivileged process ("nobody" on Debian).
// No test creates or changes a system user or group.
inline constexpr uid_t kOtherUid = 65534;
inline constexpr gid_t kOtherGid = 65534;

// Hands a file, folder or link (the link itself) of the test's own tree to
// the other user; false when this process may not (it is not root).
inline bool HandToOtherUser(const std::filesystem::path& path) {
    return ::lchown(path.c_str(), kOtherUid, kOtherGid) == 0;
}

// Runs body in a child process and returns what it returned. As root the
// child first becomes the other user, so that permission checks apply to it;
// otherwise it runs as this user, for whom they apply anyway.
inline bool InUnprivilegedChild(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (RunningAsRoot() && (::setgroups(0, nullptr) != 0 || ::setgid(kOtherGid) != 0 ||
                                ::setuid(kOtherUid) != 0)) {
            ::_exit(2);
        }
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// Points the settings folder into a fresh temporary folder for each test, with
// HOME beside it so nothing reaches the real home folder, and removes the
// writer's fault hook afterwards.
class SettingsFolderTest : public ::testing::Test {
protected:
    void SetUp() override { m_home = std::make_unique<TempConfigHome>("norvale-settings"); }

    void TearDown() override {
        SaveFaultSeam() = nullptr;
        m_home.reset();
    }

    std::filesystem::path Root() const { return m_home->Root(); }
    std::filesystem::path Folder() const { return Root() / "config" / "Norvale"; }
    std::filesystem::path File() const { return Folder() / "info.dat"; }

    void MakeFolder() const { std::filesystem::create_directories(Folder()); }

    void WriteFile(const Bytes& bytes) const {
        MakeFolder();
        WriteBytes(File(), bytes);
    }

private:
    std::unique_ptr<TempConfigHome> m_home;
};

// A record whose fields all differ from the defaults.
inline AppSettings SampleSettings() {
    return AppSettings{
        .nLeft = 120, .nTop = -40, .nDateFormat = 2, .bNorthern = false, .bFull = false};
}

inline bool SameSettings(const AppSettings& a, const AppSettings& b) {
    return a.nLeft == b.nLeft && a.nTop == b.nTop && a.nDateFormat == b.nDateFormat &&
           a.bNorthern == b.bNorthern && a.bFull == b.bFull;
}

} // namespace norvale::test
