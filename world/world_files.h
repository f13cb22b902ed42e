#pragma once

#include <filesystem>
#include <string>

#include "app/messages.h"
#include "app/text_names.h"

namespace vek {

// The world files in the game's main directory, found whatever their letter case.
struct WorldFiles {
    std::filesystem::path world;     // world.sfc: the game's current world
    std::filesystem::path eden;      // eden.sfc: the pristine world
    std::filesystem::path oldWorld;  // OldWorld.sfc: the backup of every reset
};
WorldFiles worldFilesIn(const std::string& mainPath);

// Reset World: backs the current world up as OldWorld.sfc, then replaces it with the pristine
// world. Each copy goes through a temporary file. A missing eden.sfc changes nothing; a failed
// backup leaves the world as it was (the error says so); without a world.sfc there is nothing
// to back up and the pristine world is put in place. Throws VekError.
void resetWorld(const std::string& mainPath);

// Create new World: a copy of the pristine world as `target` (eden.sfc itself stays as it is).
void createNewWorld(const std::string& mainPath, const std::filesystem::path& target);

inline constexpr BilingualBox kResetWorldQuestion{Msg::WorldResetQuestion, Msg::WorldResetCaption};

// Asked first while the game answers on the link.
inline constexpr BilingualBox kGameRunningWorldWarning{Msg::WorldGameRunningWarning,
                                                       Msg::WorldResetCaption};

inline constexpr Bilingual kNewWorldDialogTitle = Msg::WorldNewWorldDialogTitle;

}  // namespace vek
