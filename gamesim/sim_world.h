#pragma once

#include <compare>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vek::sim {

// One object of the stand-in world.
struct SimObject {
    int id = 0;
    int family = 0;
    int genus = 0;
    int species = 0;
    int attr = 0;
    int click = 0;     // bhvr's first value
    int creature = 0;  // bhvr's second value
    int x = 0;
    int y = 0;
    std::string sprite;
    int imageCount = 0;
    int firstImage = 0;
    int plane = 0;
};

struct ScriptKey {
    int family = 0;
    int genus = 0;
    int species = 0;
    int event = 0;
    auto operator<=>(const ScriptKey&) const = default;
};

// What a macro may change; a failing macro leaves it as it was.
struct WorldState {
    std::vector<SimObject> objects;
    int nextId = 1;
    int target = 0;  // the object the commands act on
    int edit = 0;    // the object held in edit mode
};

// The world of the stand-in game: its objects, its scriptorium, the current target and the
// object held in edit mode. It runs the part of the macro language that Vekstudio sends.
class World {
  public:
    // Runs one macro: commands separated by commas, up to the first "endm" outside a script.
    // Returns what its "dde:" commands wrote. A macro with an unknown or malformed command, or
    // one that fails while it runs, changes nothing and is answered with "Error: ...".
    std::string run(std::string_view macro);

    const std::vector<SimObject>& objects() const { return m_state.objects; }
    const std::map<ScriptKey, std::string>& scripts() const { return m_scripts; }

  private:
    WorldState m_state;
    std::map<ScriptKey, std::string> m_scripts;
};

}  // namespace vek::sim
