#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "vivarium/world.h"

namespace vek::sim {

// The stand-in game's side of the shared world: the link's macros run in it and its answers
// come from its real state. Safe to use from the serving thread and a clock at once.
class World {
  public:
    // Runs `world` (a bare one where none is given), as an installation makes it. Faults of the
    // objects' own scripts (a timer script's, not a macro's) go to `onFault`.
    explicit World(std::unique_ptr<vivarium::World> world = {},
                   std::function<void(const vivarium::Happening&)> onFault = {});

    // Runs one macro as the game does and returns what its "dde:" commands wrote. A macro the
    // game would not understand, or one that runs into a fault, is answered "Error: ...".
    std::string run(std::string_view macro);
    // One tick of 1/10 s.
    void tick();

    std::size_t objectCount() const;
    std::size_t scriptCount() const;

  private:
    mutable std::mutex m_mutex;
    std::unique_ptr<vivarium::World> m_world;
    std::function<void(const vivarium::Happening&)> m_onFault;
    std::string m_firstFault;
    bool m_macroRunning = false;
};

// Ticks a world at a steady rate on a thread of its own until it is destroyed.
class WorldClock {
  public:
    WorldClock(World& world, std::chrono::milliseconds interval);
    ~WorldClock();
    WorldClock(const WorldClock&) = delete;
    WorldClock& operator=(const WorldClock&) = delete;

  private:
    void run(World& world, std::chrono::milliseconds interval);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_thread;
};

// The game's tick: 1/10 s.
inline constexpr std::chrono::milliseconds kGameTick{100};

}  // namespace vek::sim
