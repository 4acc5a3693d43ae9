#include "settings/Settings.h"

#include "atomicfile/AtomicFile.h"

#include <cstdlib>
#include <utility>

namespace norvale {

namespace {

constexpr const char* kFolderName = "Norvale";
constexpr const char* kFileName = "info.dat";

// Offsets of the fields in the stored record.
constexpr std::size_t kLeftOffset = 0;
constexpr std::size_t kTopOffset = 4;
constexpr std::size_t kDateFormatOffset = 8;
constexpr std::size_t kNorthernOffset = 12;
constexpr std::size_t kFullOffset = 13;

// An environment variable naming an absolute folder, or nothing.
std::optional<std::string> AbsoluteFolderFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> ConfigHome() {
    if (auto xdg = AbsoluteFolderFromEnv("XDG_CONFIG_HOME")) {
        return xdg;
    }
    if (auto home = AbsoluteFolderFromEnv("HOME")) {
        return *home + "/.config";
    }
    return std::nullopt;
}

std::int32_t ReadInt32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    const std::uint32_t value = static_cast<std::uint32_t>(bytes[offset]) |
                                static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
                                static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
                                static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
    return static_cast<std::int32_t>(value);
}

void WriteInt32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

} // namespace

std::optional<std::string> SettingsFolderPath() {
    std::optional<std::string> base = ConfigHome();
    if (!base) {
        return std::nullopt;
    }
    return *base + "/" + kFolderName + "/";
}

std::optional<std::string> SettingsFilePath() {
    std::optional<std::string> folder = SettingsFolderPath();
    if (!folder) {
        return std::nullopt;
    }
    return *folder + kFileName;
}

bool LoadSettingsFromBytes(std::span<const std::uint8_t> bytes, AppSettings& settings) {
    const std::size_t size = bytes.size();
    if (size < kLeftOffset + 4) {
        return false;
    }
    settings.nLeft = ReadInt32(bytes, kLeftOffset);
    if (size < kTopOffset + 4) {
        return false;
    }
    settings.nTop = ReadInt32(bytes, kTopOffset);
    if (size < kDateFormatOffset + 4) {
        return false;
    }
    settings.nDateFormat = ReadInt32(bytes, kDateFormatOffset);
    if (size < kNorthernOffset + 1) {
        return false;
    }
    settings.bNorthern = bytes[kNorthernOffset] != 0;
    if (size < kFullOffset + 1) {
        return false;
    }
    settings.bFull = bytes[kFullOffset] != 0;
    return true;
}

std::array<std::uint8_t, kSettingsFileSize> SettingsToBytes(const AppSettings& settings) {
    std::array<std::uint8_t, kSettingsFileSize> bytes{};
    WriteInt32(bytes, kLeftOffset, settings.nLeft);
    WriteInt32(bytes, kTopOffset, settings.nTop);
    WriteInt32(bytes, kDateFormatOffset, settings.nDateFormat);
    bytes[kNorthernOffset] = settings.bNorthern ? 1 : 0;
    bytes[kFullOffset] = settings.bFull ? 1 : 0;
    return bytes;
}

bool LoadSettings(AppSettings& settings, FileResult* result) {
    const std::optional<std::string> path = SettingsFilePath();
    FileDescriptor file =
        path ? OpenForReading(*path, PrivateFilePolicy(), result) : FileDescriptor();
    if (!file.IsOpen()) {
        settings.bNorthern = true;
        return false;
    }
    std::array<std::uint8_t, kSettingsFileSize> buffer{};
    const auto [count, failed] = ReadUpTo(file.Get(), buffer);
    const bool complete = LoadSettingsFromBytes(std::span(buffer).first(count), settings);
    return complete && !failed;
}

void CreateSettingsFolder(AppSettings& settings, FileResult* result) {
    if (const std::optional<std::string> folder = SettingsFolderPath()) {
        // A folder that cannot be made shows up again as a failed save at the
        // end of the run.
        FileResult made = MakeFolders(*folder, PrivateFilePolicy());
        if (result != nullptr) {
            *result = std::move(made);
        }
    }
    settings.nDateFormat = kDefaultDateFormat;
    settings.bFull = true;
}

bool SaveSettings(const AppSettings& settings, FileResult* result) {
    const std::optional<std::string> path = SettingsFilePath();
    if (!path) {
        return false;
    }
    const auto bytes = SettingsToBytes(settings);
    FileResult saved = ReplaceFile(*path, bytes, PrivateFilePolicy());
    const bool ok = saved.ok;
    if (result != nullptr) {
        *result = std::move(saved);
    }
    return ok;
}

} // namespace norvale
