#pragma once

#include <filesystem>

namespace vek {

// The program directory holds the files that lie beside the program (vek.wav, rpsw.kev,
// classes.vek, the mac folder, ...), and the program writes some of them. Where the program's
// own directory is not writable, a per-user folder seeded from it takes its place.
std::filesystem::path resolveProgramDirectory(const std::filesystem::path& executableDirectory,
                                              const std::filesystem::path& userDataDirectory);

bool isWritableDirectory(const std::filesystem::path& directory);

}  // namespace vek
