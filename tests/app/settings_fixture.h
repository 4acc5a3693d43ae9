#pragma once

#include "app/Settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace norvale::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

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

// Points the settings folder into a fresh temporary folder for each test, with
// HOME beside it so nothing reaches the real home folder, and removes the
// writer's fault hook afterwards.
class SettingsFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "norvale-settings-XXXXXX");
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        SaveEnv("XDG_CONFIG_HOME", m_savedXdg);
        SaveEnv("HOME", m_savedHome);
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
        ::setenv("HOME", (m_root / "home").c_str(), 1);
    }

    void TearDown() override {
        SetSaveFaultHook({});
        RestoreEnv("XDG_CONFIG_HOME", m_savedXdg);
        RestoreEnv("HOME", m_savedHome);
        std::error_code ignored;
        std::filesystem::permissions(Folder(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_root, ignored);
    }

    std::filesystem::path Root() const { return m_root; }
    std::filesystem::path Folder() const { return m_root / "config" / "Norvale"; }
    std::filesystem::path File() const { return Folder() / "info.dat"; }

    void MakeFolder() const { std::filesystem::create_directories(Folder()); }

    void WriteFile(const Bytes& bytes) const {
        MakeFolder();
        WriteBytes(File(), bytes);
    }

private:
    static void SaveEnv(const char* name, std::optional<std::string>& saved) {
        const char* value = std::getenv(name);
        saved = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    static void RestoreEnv(const char* name, const std::optional<std::string>& saved) {
        if (saved) {
            ::setenv(name, saved->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }

    std::filesystem::path m_root;
    std::optional<std::string> m_savedXdg;
    std::optional<std::string> m_savedHome;
};

// A record whose fields all differ from the defaults.
inline AppSettings SampleSettings() {
    AppSettings settings;
    settings.nLeft = 120;
    settings.nTop = -40;
    settings.nDateFormat = 2;
    settings.bNorthern = false;
    settings.bFull = false;
    return settings;
}

inline bool SameSettings(const AppSettings& a, const AppSettings& b) {
    return a.nLeft == b.nLeft && a.nTop == b.nTop && a.nDateFormat == b.nDateFormat &&
           a.bNorthern == b.bNorthern && a.bFull == b.bFull;
}

} // namespace norvale::test
