#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "vivarium/map.h"
#include "vivarium/sprite_shelf.h"
#include "vivarium/world.h"

namespace vek::vivarium {

// What a stand-in world takes from the installation it runs on: the image sizes of its sprite
// files (read as they are asked for) and its rooms and ground. `vek try`, `vivarium-sim` and the
// Vivarium window each make their worlds through one of these.
class StandInInstallation {
  public:
    // Reads the map file beside the sprite files (map_file.h); a map file with a line of
    // neither kind throws. An empty directory is an installation without sprites or map.
    explicit StandInInstallation(std::filesystem::path imageDirectory);
    StandInInstallation(const StandInInstallation&) = delete;
    StandInInstallation& operator=(const StandInInstallation&) = delete;

    const std::filesystem::path& imageDirectory() const { return m_imageDirectory; }
    const Map& map() const { return m_map; }
    // A lookup of the sprite files' image sizes; the installation must outlive it.
    SpriteLookup sprites();
    // The chemicals' names by number (its chemicals.txt, which the caller reads), for what
    // reaches the creature.
    void setChemicalNames(std::vector<std::string> names) { m_chemicalNames = std::move(names); }
    // A fresh world on the installation's sprites, rooms, ground and chemicals' names.
    std::unique_ptr<World> makeWorld(std::uint64_t seed = 1);

  private:
    std::filesystem::path m_imageDirectory;
    Map m_map;
    SpriteShelf m_shelf;
    std::vector<std::string> m_chemicalNames;
};

}  // namespace vek::vivarium
