#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "language/checker.h"
#include "language/macro_text.h"
#include "vivarium/world.h"

namespace vek::vivarium {

// A world file: a text of macros, one a line, that make a world anew when each is run in a fresh
// world as the link delivers it. Lines starting with "*" are comments; empty lines are skipped.
// `vivarium-sim --seed` reads such a file, and the Vivarium window saves and loads one.

// The lines of a world file that make `world`'s scriptorium and objects anew: each script as
// "scrp F G S E,...,endm", each object as one macro that creates it with its sprite, images and
// plane and sets its class, place, pose or animation, attributes, behaviour, timer and object
// variables, and the edit object. Object numbers stay as they were: the numbers of objects that
// are gone are given to objects made and killed at once. What macros cannot set starts anew in
// the loaded world: the tick count, timer counts, running scripts and events not yet taken.
std::vector<std::string> worldFileLines(const World& world);
// Those lines, each ended by a line break.
std::string worldFileText(const World& world);
// The most a world file holds, far beyond a world of the game's size; a larger file is refused
// before it is read, and a world that would need one is not saved.
inline constexpr std::uint64_t kMaxWorldFileSize = std::uint64_t{64} << 20;
// Writes them to a file anew.
void saveWorldFile(const World& world, const std::filesystem::path& file);
// A world file's text; a file that cannot be read or is larger than kMaxWorldFileSize throws
// naming it.
std::string readWorldFile(const std::filesystem::path& file);

// One macro of a world file, with the line it stands on (from 1).
struct WorldFileMacro {
    MacroText macro;
    std::size_t line = 0;
};
// The macros of a world file's text, each at its line; comments and empty lines are left out.
std::vector<WorldFileMacro> worldFileMacros(std::string_view text);

// The findings of checking each macro of a world file's text, at its line.
std::vector<Finding> checkWorldFileMacros(std::string_view text, const CheckOptions& options);

// Runs one macro as the link delivers it; why the world refused it, where it did.
using WorldMacroRunner = std::function<std::optional<BilingualText>(const MacroText& macro)>;
// Runs each macro of a world file's text in order. The first one refused stops it with an
// error naming `file` and the line; what ran before stays done.
void runWorldText(std::string_view text, const std::filesystem::path& file,
                  const WorldMacroRunner& run);
// The same for a file read whole; a file that cannot be read throws naming it.
void runWorldFile(const std::filesystem::path& file, const WorldMacroRunner& run);

}  // namespace vek::vivarium
