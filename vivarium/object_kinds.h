#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vek::vivarium {

// A part of a compound object after part 0, which is the object itself: where it sits from
// part 0's top left corner, the image it shows (counted from the object's first image) and its
// plane.
// The highest number of a compound's part or hot spot and of a blackboard's word: a macro
// cannot make an object keep more of them without end.
inline constexpr int kMaxKindNumber = 255;

struct Part {
    int number = 0;
    int left = 0;
    int top = 0;
    int image = 0;
    int plane = 0;
};

// A place of a compound object that a click may find, from part 0's top left corner.
struct Hotspot {
    int number = 0;
    int left = -1;
    int top = -1;
    int right = -1;
    int bottom = -1;
};

// A compound object: its parts move with it; `part` chooses the one later commands name.
struct Compound {
    std::vector<Part> parts;  // in the order of their numbers
    int selectedPart = 0;
    std::vector<Hotspot> hotspots;
};

// What a vehicle or a lift carries: the cabin (from its top left corner; none: the whole
// object) and the passengers, who move as it moves.
struct Carrier {
    struct Cabin {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    std::optional<Cabin> cabin;
    std::vector<int> passengers;  // by number, in the order they boarded
};

// A vehicle moves by its speeds each tick (pixels a tick) as far as its room and the ground let
// it; `bump` says which side stopped it last: 1 left, 2 right, 4 top, 8 bottom.
struct Vehicle {
    Carrier carrier;
    int xvec = 0;
    int yvec = 0;
    int bump = 0;
};

// A lift runs up and down between the floors its call buttons name, its bottom edge stopping
// at a floor.
struct Lift {
    Carrier carrier;
    std::optional<int> goingTo;  // the floor it travels to; none while it stands
};

// The lift a call button calls and the floor it calls it to.
struct CallButton {
    int lift = 0;
    int floor = 0;
};

// A blackboard's words, each at its place, and whether they show and may be edited.
struct Blackboard {
    struct Entry {
        int number = 0;
        std::string text;
    };
    std::map<int, Entry> words;
    bool shown = false;
    bool editing = false;
};

using ObjectKinds = std::variant<Compound, Vehicle, Lift, CallButton, Blackboard>;

// What an object is beyond its pictures: nothing for a simple object. Kept apart from the object,
// so that the many simple ones stay small; a copy copies it.
class ObjectShape {
  public:
    ObjectShape() = default;
    template <typename Kind>
    ObjectShape(Kind kind) : m_kind(std::make_unique<ObjectKinds>(std::move(kind))) {}
    ObjectShape(const ObjectShape& other)
        : m_kind(other.m_kind ? std::make_unique<ObjectKinds>(*other.m_kind) : nullptr) {}
    ObjectShape(ObjectShape&&) noexcept = default;
    ObjectShape& operator=(ObjectShape other) noexcept {
        m_kind = std::move(other.m_kind);
        return *this;
    }
    ~ObjectShape() = default;

    bool simple() const { return !m_kind; }
    // The kind's data; nullptr for an object of another kind.
    template <typename Kind>
    Kind* as() {
        return m_kind ? std::get_if<Kind>(m_kind.get()) : nullptr;
    }
    template <typename Kind>
    const Kind* as() const {
        return m_kind ? std::get_if<Kind>(m_kind.get()) : nullptr;
    }
    const ObjectKinds* kinds() const { return m_kind.get(); }

  private:
    std::unique_ptr<ObjectKinds> m_kind;
};

// How far a lift travels in a tick.
inline constexpr int kLiftSpeed = 8;

}  // namespace vek::vivarium
