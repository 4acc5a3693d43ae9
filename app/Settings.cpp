#include "app/Settings.h"

namespace norvale {

std::optional<std::string> SettingsFolderPath() { return std::nullopt; }
std::optional<std::string> SettingsFilePath() { return std::nullopt; }

bool LoadSettings(AppSettings& settings) {
    settings.bNorthern = true;
    return false;
}

void CreateSettingsFolder(AppSettings& settings) {
    settings.nDateFormat = 5;
    settings.bFull = true;
}

bool SaveSettings(const AppSettings& /*settings*/) { return false; }

} // namespace norvale
