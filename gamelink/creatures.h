#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "app/game_paths.h"

namespace vek {

// The main window's one component for the game: its nine directories, its sounds, and the one
// link to the running game.
class TCreatures {
public:
    using SoundSink = std::function<void(const std::filesystem::path&)>;

    explicit TCreatures(GamePathSources sources = {});

    // Re-reads the nine paths from the platform's sources.
    void ReadPaths();
    const GamePaths& paths() const { return m_paths; }
    void setPaths(GamePaths paths) { m_paths = std::move(paths); }

    // Plays CSoundPath + name without waiting; silent where no sound output was installed.
    void PlayGameSound(const std::string& name) const;
    void setSoundSink(SoundSink sink) { m_soundSink = std::move(sink); }

private:
    GamePathSources m_sources;
    GamePaths m_paths;
    SoundSink m_soundSink;
};

}  // namespace vek
