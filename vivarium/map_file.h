#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "vivarium/map.h"

namespace vek::vivarium {

// A map file: the rooms and the ground of an installation that has no world of the game to
// read them from, in lines of text ('*' starts a comment):
//   room NUMBER LEFT TOP RIGHT BOTTOM TYPE
//   ground POINT HEIGHT
// It lies beside the installation's sprite files.
inline constexpr std::string_view kMapFileName = "vivarium-map.txt";
inline constexpr std::uint64_t kMaxMapFileSize = std::uint64_t{1} << 20;

// Reads a map file's text; a line of neither kind throws, naming the file and line.
Map parseMapText(std::string_view text, const std::filesystem::path& file);
std::string mapFileText(const Map& map);
// The map of the installation whose sprite files lie in `imageDirectory`; an empty map when it
// has no map file.
Map readInstallationMap(const std::filesystem::path& imageDirectory);

}  // namespace vek::vivarium
