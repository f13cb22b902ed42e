#pragma once

#include <filesystem>

namespace vek {

// The folders of the user's own Vekstudio files: settings in the configuration folder
// ($XDG_CONFIG_HOME/Vekstudio, else ~/.config/Vekstudio), the rest in the data folder
// ($XDG_DATA_HOME/Vekstudio, else ~/.local/share/Vekstudio); a temporary folder without a home.
// On Windows the profile's folders: %APPDATA%\Vekstudio and %LOCALAPPDATA%\Vekstudio.
std::filesystem::path userConfigDirectory();
std::filesystem::path userDataDirectory();

}  // namespace vek
