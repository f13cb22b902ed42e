#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vek {

// The names of the files in the game's sound directory, sorted without regard to case; none
// when the directory cannot be read.
std::vector<std::string> soundDirectoryFiles(const std::string& soundPath);

// The sound of a listed file: the first four characters of its name (the game's sound names
// are four characters long).
std::string soundNameOf(std::string_view fileName);

}  // namespace vek
