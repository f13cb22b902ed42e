#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace vek::vivarium {

// One point of the ground line stands for this many pixels across the world.
inline constexpr int kGroundPointWidth = 16;

// A room of the world: a rectangle (right and bottom are its edges) with its type.
struct Room {
    int number = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int type = 0;

    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Where a move may take an object, and whether a wall or the ground stopped it there.
struct Placement {
    int left = 0;
    int top = 0;
    bool collided = false;
};

// The rooms and the ground of the world. An object's attributes decide which of them hold it:
// 64 (wallbound) keeps it inside the room its centre is in before the move, 128 (groundbound)
// keeps its bottom edge from going below the ground under its centre. An object in no room, or
// over no point of the ground, goes where it is sent.
class Map {
  public:
    static constexpr int kWallbound = 64;
    static constexpr int kGroundbound = 128;
    // Far more than a world of the game holds, so that no macro or file makes the map grow
    // without end: 1,024 rooms, and a ground line 131,072 pixels across.
    static constexpr std::size_t kMaxRooms = 1024;
    static constexpr int kMaxGroundPoints = 8192;

    // Adds a room, or replaces the room of that number; false, changing nothing, where it would
    // be a room past kMaxRooms.
    bool setRoom(const Room& room);
    const std::vector<Room>& rooms() const { return m_rooms; }
    // The number of the room at a place; -1 where there is none (the one made first, where rooms
    // overlap).
    int roomAt(int x, int y) const;
    // The room at a place; nullptr where there is none.
    const Room* roomContaining(int x, int y) const;

    // Sets the ground's height at a point of its line, which grows to hold it (new points lie at
    // height 0); false, changing nothing, for a point below 0 or from kMaxGroundPoints on.
    bool setGround(int point, int height);
    // The height at a point of the line; 0 beyond it.
    int groundAt(int point) const;
    int groundPoints() const { return static_cast<int>(m_ground.size()); }
    // The ground's height under a place across the world, when the line reaches there.
    std::optional<int> groundUnder(int x) const;

    // Where an object (its size and top left corner) sent to a place comes to be.
    Placement limit(int attributes, int width, int height, int fromLeft, int fromTop, int toLeft,
                    int toTop) const;
    // Where an object put down above the ground comes to rest, when groundbound: on the ground
    // under its centre.
    Placement settle(int attributes, int width, int height, int left, int top) const;

  private:
    const Room* roomNumbered(int number) const;

    std::vector<Room> m_rooms;
    std::vector<int> m_ground;
};

}  // namespace vek::vivarium
