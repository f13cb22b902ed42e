#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "app/messages.h"
#include "app/text_names.h"

namespace vek {

inline constexpr int kOlderWorldBackups = 5;  // OldWorld1.sfc (newest) ... OldWorld5.sfc

// The world files in the game's main directory, found whatever their letter case. An unknown
// main directory throws (knownGameFolder).
struct WorldFiles {
    std::filesystem::path world;     // world.sfc: the game's current world
    std::filesystem::path eden;      // eden.sfc: the pristine world
    std::filesystem::path oldWorld;  // OldWorld.sfc: the backup of the last world replaced
};
WorldFiles worldFilesIn(const std::string& mainPath);

// OldWorldN.sfc, the N-th older backup, in whatever letter case it has.
std::filesystem::path olderWorldBackup(const std::filesystem::path& mainDirectory, int age);

// Keeps world.sfc in OldWorld.sfc before it is replaced. Nothing is kept when it holds
// `pristine` (there is nothing of the player's in it) or is already the backup; otherwise the
// backup before moves to OldWorld1.sfc and the older ones one number on, the last five kept.
// A failure throws before the world is touched.
void backUpWorld(const std::filesystem::path& mainDirectory,
                 std::span<const std::uint8_t> pristine);

// Reset World: backs the current world up (backUpWorld), then replaces it with the pristine
// world through a temporary file. A missing eden.sfc or a failed backup changes nothing.
// Throws VekError.
void resetWorld(const std::string& mainPath);

// Create new World: a copy of the pristine world as `target` (eden.sfc itself stays as it is);
// the game's own world.sfc as target is backed up first.
void createNewWorld(const std::string& mainPath, const std::filesystem::path& target);

inline constexpr BilingualBox kResetWorldQuestion{Msg::WorldResetQuestion, Msg::WorldResetCaption};

// Asked first while the game answers on the link.
inline constexpr BilingualBox kGameRunningWorldWarning{Msg::WorldGameRunningWarning,
                                                       Msg::WorldResetCaption};

inline constexpr Bilingual kNewWorldDialogTitle = Msg::WorldNewWorldDialogTitle;

}  // namespace vek
