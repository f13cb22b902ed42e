#include "vivarium/map.h"

#include <algorithm>

namespace vek::vivarium {

namespace {

// An object wider than its room stays at the room's left (or top) edge.
int clampInto(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

bool Map::setRoom(const Room& room) {
    const auto found = std::find_if(m_rooms.begin(), m_rooms.end(),
                                    [&](const Room& r) { return r.number == room.number; });
    if (found != m_rooms.end()) {
        *found = room;
    } else if (m_rooms.size() < kMaxRooms) {
        m_rooms.push_back(room);
    } else {
        return false;
    }
    return true;
}

int Map::roomAt(int x, int y) const {
    const Room* room = roomContaining(x, y);
    return room ? room->number : -1;
}

const Room* Map::roomContaining(int x, int y) const {
    for (const Room& room : m_rooms) {
        if (room.contains(x, y)) return &room;
    }
    return nullptr;
}

const Room* Map::roomNumbered(int number) const {
    for (const Room& room : m_rooms) {
        if (room.number == number) return &room;
    }
    return nullptr;
}

bool Map::setGround(int point, int height) {
    if (point < 0 || point >= kMaxGroundPoints) return false;
    if (static_cast<std::size_t>(point) >= m_ground.size())
        m_ground.resize(static_cast<std::size_t>(point) + 1, 0);
    m_ground[static_cast<std::size_t>(point)] = height;
    return true;
}

int Map::groundAt(int point) const {
    if (point < 0 || static_cast<std::size_t>(point) >= m_ground.size()) return 0;
    return m_ground[static_cast<std::size_t>(point)];
}

std::optional<int> Map::groundUnder(int x) const {
    if (x < 0) return std::nullopt;
    const int point = x / kGroundPointWidth;
    if (point >= groundPoints()) return std::nullopt;
    return groundAt(point);
}

Placement Map::limit(int attributes, int width, int height, int fromLeft, int fromTop, int toLeft,
                     int toTop) const {
    Placement placement{toLeft, toTop, false};
    if (attributes & kWallbound) {
        const Room* room = roomNumbered(roomAt(fromLeft + width / 2, fromTop + height / 2));
        if (room) {
            placement.left = clampInto(toLeft, room->left, room->right - width);
            placement.top = clampInto(toTop, room->top, room->bottom - height);
        }
    }
    if (attributes & kGroundbound) {
        const std::optional<int> ground = groundUnder(placement.left + width / 2);
        if (ground && placement.top + height > *ground) placement.top = *ground - height;
    }
    placement.collided = placement.left != toLeft || placement.top != toTop;
    return placement;
}

Placement Map::settle(int attributes, int width, int height, int left, int top) const {
    Placement placement{left, top, false};
    if (!(attributes & kGroundbound)) return placement;
    const std::optional<int> ground = groundUnder(left + width / 2);
    if (!ground || top + height == *ground) return placement;
    placement.top = *ground - height;
    // Landing from above meets the ground; one put below it is only lifted onto it.
    placement.collided = top + height < *ground;
    return placement;
}

}  // namespace vek::vivarium
