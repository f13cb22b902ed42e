#pragma once

#include <filesystem>

namespace vek {

// The folder of the running program's executable (the working folder where that is unknown).
std::filesystem::path executableDirectory();

// The folder of the files shipped with the program (the help, ...): the executable's own folder
// in a build tree, else the shared data folder of an installation beside it (../share/vekstudio).
std::filesystem::path installedDataDirectory(const std::filesystem::path& executableDirectory);

}  // namespace vek
