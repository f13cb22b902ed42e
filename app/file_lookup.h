#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vek {

// ASCII letters compared without case, as the game's file system compares names.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// A file or folder inside a game or program directory, found whatever the letter case of each
// component of `relativeName` ('/' or '\\' between components): games copied from Windows or
// installed under Wine name the same file "mu02.WAV" or "Images/VBAL.SPR". The exact spelling
// wins when it exists; a component that matches nothing is kept as written, so that the result
// names the file an error message should mention.
std::filesystem::path findIgnoringCase(const std::filesystem::path& directory,
                                       std::string_view relativeName);

#ifndef _WIN32
// The program of that name in the first folder of PATH that holds it as an executable.
std::optional<std::filesystem::path> findProgramOnPath(const std::string& program);
#endif

}  // namespace vek
