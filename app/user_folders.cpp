#include "app/user_folders.h"

#include <cstdlib>

namespace vek {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgramFolder = "Vekstudio";

#ifdef _WIN32
// The user's profile folder a variable names (APPDATA, LOCALAPPDATA), else the temporary one.
fs::path profileFolder(const wchar_t* variable) {
    if (const wchar_t* folder = _wgetenv(variable); folder && *folder)
        return fs::path(folder) / kProgramFolder;
    return fs::temp_directory_path() / kProgramFolder;
}
#else
// The folder a variable names, else the one under the home directory.
fs::path userFolder(const char* variable, const fs::path& underHome) {
    if (const char* folder = std::getenv(variable); folder && *folder)
        return fs::path(folder) / kProgramFolder;
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / underHome / kProgramFolder;
    return fs::temp_directory_path() / kProgramFolder;
}
#endif

}  // namespace

#ifdef _WIN32
// HOME and the XDG variables mean nothing to Windows (Wine even hands its Unix HOME on).
fs::path userConfigDirectory() { return profileFolder(L"APPDATA"); }

fs::path userDataDirectory() { return profileFolder(L"LOCALAPPDATA"); }
#else
fs::path userConfigDirectory() { return userFolder("XDG_CONFIG_HOME", ".config"); }

fs::path userDataDirectory() { return userFolder("XDG_DATA_HOME", fs::path(".local") / "share"); }
#endif

}  // namespace vek
