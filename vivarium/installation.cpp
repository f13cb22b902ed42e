#include "vivarium/installation.h"

#include "vivarium/map_file.h"

namespace vek::vivarium {

StandInInstallation::StandInInstallation(std::filesystem::path imageDirectory)
    : m_imageDirectory(std::move(imageDirectory)),
      m_map(m_imageDirectory.empty() ? Map{} : readInstallationMap(m_imageDirectory)),
      m_shelf(m_imageDirectory) {}

SpriteLookup StandInInstallation::sprites() {
    // A bare installation has no files to look in, not the working directory's.
    if (m_imageDirectory.empty()) return {};
    return m_shelf.lookup();
}

std::unique_ptr<World> StandInInstallation::makeWorld(std::uint64_t seed) {
    auto world = std::make_unique<World>(sprites(), seed);
    world->setMap(m_map);
    world->setChemicalNames(m_chemicalNames);
    return world;
}

}  // namespace vek::vivarium
