#pragma once

#include "atomicfile/AtomicFile.h"
#include "core/Texts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>

namespace norvale {

// What the program remembers between runs, stored as 14 little-endian bytes.
struct AppSettings {
    // No stored position until a read: a corner no desktop contains.
    std::int32_t nLeft = std::numeric_limits<std::int32_t>::min();
    std::int32_t nTop = std::numeric_limits<std::int32_t>::min();
    std::int32_t nDateFormat = kDefaultDateFormat;
    bool bNorthern = true;
    bool bFull = true;
};

// "$XDG_CONFIG_HOME/Norvale/" (or "$HOME/.config/Norvale/"); nullopt when
// neither names an absolute folder.
std::optional<std::string> SettingsFolderPath();
std::optional<std::string> SettingsFilePath();

// The settings file is reached only through folders that belong to root or
// the user and only they can change, and through links that belong to root
// or the user (atomicfile/SafePath.h); result (when given) says why not.

// True when every field was read; fields read before a short end keep their
// new values.
bool LoadSettings(AppSettings& settings, FileResult* result = nullptr);
// Creates the settings folder (and its parents, each private to the user) and
// resets nDateFormat and bFull.
void CreateSettingsFolder(AppSettings& settings, FileResult* result = nullptr);
// Writes the whole file through a temporary file and a rename; false (and the
// old file untouched) on any failure. A new file is never writable by group
// or others.
bool SaveSettings(const AppSettings& settings, FileResult* result = nullptr);

// Size of the stored record: three 32-bit integers and two flag bytes.
inline constexpr std::size_t kSettingsFileSize = 14;

// Reads the fields from the bytes of a settings file exactly as LoadSettings
// reads them from the file: each field is stored as soon as it is complete,
// and the result is false when the bytes end before the last field.
bool LoadSettingsFromBytes(std::span<const std::uint8_t> bytes, AppSettings& settings);
// The bytes SaveSettings writes for the record (flags as 1 or 0).
std::array<std::uint8_t, kSettingsFileSize> SettingsToBytes(const AppSettings& settings);

} // namespace norvale
