#include "app/user_folders.h"

#include <cstdlib>

namespace vek {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgramFolder = "Vekstudio";

// The folder a variable names, else the one under the home directory.
fs::path userFolder(const char* variable, const fs::path& underHome) {
    if (const char* folder = std::getenv(variable); folder && *folder)
        return fs::path(folder) / kProgramFolder;
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / underHome / kProgramFolder;
    return fs::temp_directory_path() / kProgramFolder;
}

}  // namespace

fs::path userConfigDirectory() { return userFolder("XDG_CONFIG_HOME", ".config"); }

fs::path userDataDirectory() { return userFolder("XDG_DATA_HOME", fs::path(".local") / "share"); }

}  // namespace vek
