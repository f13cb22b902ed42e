#pragma once

#include <functional>
#include <string>
#include <vector>

#include "vivarium/world.h"

namespace vek::vivarium {

// The size of the game's world in pixels, as its background shows it.
inline constexpr int kWorldWidth = 8352;
inline constexpr int kWorldHeight = 1200;

// One object as a picture of the world shows it: its sprite file's image at its place.
struct DrawnObject {
    int object = 0;
    std::string sprite;
    int image = 0;  // in the sprite file: first image + base + pose
    int x = 0;
    int y = 0;
    int width = 0;  // 0 when the installation has no such sprite file
    int height = 0;
};

// The objects in the order they are painted: lower planes first, and within a plane the
// older first, so that the last drawn is the one in front.
std::vector<DrawnObject> paintOrder(const World& world);

// The object in front under a point of the world; 0 when there is none. An object whose sprite
// file the installation lacks has no size and is never hit.
int objectAt(const World& world, int x, int y);

// The name a class catalogue gives a class ("Ball"); empty for a class it does not name.
using ClassNames = std::function<std::string(int family, int genus, int species)>;

// An object as a row of the window's list: class and its name, position, pose, timer and
// variables.
struct ObjectRow {
    int object = 0;
    std::string clas;       // "2 5 3"
    std::string name;       // "Ball", or empty
    std::string position;   // "100, 200"
    std::string pose;       // "3"
    std::string timer;      // "5", or "-" without one
    std::string variables;  // "0 0 0"
};
ObjectRow objectRow(const Object& object, const ClassNames& names = {});

// A happening as one line of the window's log, in the language asked for.
std::string logLine(const Happening& happening, std::string_view language);

// The name of the wave file a sound happening plays ("spin"); empty for another happening and
// for a name that is no plain file name.
std::string soundName(const Happening& happening);

}  // namespace vek::vivarium
