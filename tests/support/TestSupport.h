#pragma once

// Helpers shared by the tests: a temporary folder that is removed again, a
// scoped environment variable and time zone, and a scoped override for any
// of the program's process-wide seams (clock, local-time breakdown, URL
// opener, save fault hook).

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
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

// Replaces a seam (any assignable slot, usually a std::function the program
// reads through a Seam() accessor) for the lifetime of the object, then puts
// back what was there.
template <typename T> class ScopedOverride {
public:
    ScopedOverride(T& slot, std::type_identity_t<T> value)
        : m_slot(slot), m_previous(std::exchange(slot, std::move(value))) {}
    ~ScopedOverride() { m_slot = std::move(m_previous); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    T& m_slot;
    T m_previous;
};

// A clock source that always answers the same second.
inline auto FixedClock(std::int64_t seconds) {
    return [seconds] { return seconds; };
}

// Sets (or, given nullopt, unsets) an environment variable for the lifetime
// of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_previous = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(m_previous); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const std::optional<std::string>& value) const {
        if (value) {
            ::setenv(m_name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }
    std::string m_name;
    std::optional<std::string> m_previous;
};

// Sets TZ for the lifetime of the object and tells the C library about it.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        m_tz.emplace("TZ", zone);
        ::tzset();
    }
    ~ScopedTimeZone() {
        m_tz.reset();
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<ScopedEnv> m_tz;
};

// A fresh folder under the system's temporary folder, removed with everything
// in it (owner permissions restored first) when the object goes.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "norvale-test") {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX"));
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
        }
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A temporary folder that XDG_CONFIG_HOME and HOME point into for the lifetime
// of the object, so the program's settings never reach the real home folder.
class TempConfigHome {
public:
    explicit TempConfigHome(const std::string& prefix, const std::string& config = "config",
                            const std::string& home = "home")
        : m_root(prefix), m_xdg("XDG_CONFIG_HOME", (m_root.Path() / config).string()),
          m_home("HOME", (m_root.Path() / home).string()) {}

    const std::filesystem::path& Root() const { return m_root.Path(); }

private:
    TempFolder m_root;
    ScopedEnv m_xdg;
    ScopedEnv m_home;
};

} // namespace norvale::test
