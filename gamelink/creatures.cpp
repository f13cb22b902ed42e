#include "gamelink/creatures.h"

#include "app/file_io.h"

namespace vek {

TCreatures::TCreatures(GamePathSources sources) : m_sources(std::move(sources)) { ReadPaths(); }

void TCreatures::ReadPaths() { m_paths = readGamePaths(m_sources); }

void TCreatures::PlayGameSound(const std::string& name) const {
    if (m_soundSink) m_soundSink(pathFromUtf8(m_paths.CSoundPath + name));
}

}  // namespace vek
