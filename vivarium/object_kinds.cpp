// What compound objects, vehicles, lifts and call buttons do in the world beyond their scripts.
#include <algorithm>

#include "vivarium/interpreter.h"
#include "vivarium/world.h"

namespace vek::vivarium {

namespace {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Places wrap around as the game's 32-bit numbers do.
int offset(int place, int by) { return wrap(static_cast<long long>(place) + by); }

Box cabinOf(const Object& object, const Carrier& carrier) {
    if (!carrier.cabin) {
        return {object.x, object.y, offset(object.x, object.width()),
                offset(object.y, object.height())};
    }
    const Carrier::Cabin& cabin = *carrier.cabin;
    return {offset(object.x, cabin.left), offset(object.y, cabin.top),
            offset(object.x, cabin.right), offset(object.y, cabin.bottom)};
}

// Carriers and call buttons stay where they are built; everything else may ride.
bool mayRide(const Object& object) {
    return object.shape.simple() || object.shape.as<Compound>() || object.shape.as<Blackboard>();
}

// The bits of bump: which sides stopped a move short of where it went.
int bumpOf(const Placement& placement, int left, int top) {
    int bump = 0;
    if (placement.left > left) bump |= 1;
    if (placement.left < left) bump |= 2;
    if (placement.top > top) bump |= 4;
    if (placement.top < top) bump |= 8;
    return bump;
}

}  // namespace

Carrier* carrierOf(Object& object) {
    if (auto* vehicle = object.shape.as<Vehicle>()) return &vehicle->carrier;
    if (auto* lift = object.shape.as<Lift>()) return &lift->carrier;
    return nullptr;
}

std::optional<std::pair<int, int>> partPlace(const Object& object, int number) {
    if (number == 0) return std::pair{object.x, object.y};
    const auto* compound = object.shape.as<Compound>();
    if (!compound) return std::nullopt;
    for (const Part& part : compound->parts) {
        if (part.number == number)
            return std::pair{offset(object.x, part.left), offset(object.y, part.top)};
    }
    return std::nullopt;
}

Placement World::moveObject(Object& object, int left, int top, bool limited) {
    Placement placement{left, top, false};
    if (limited) {
        placement = m_map.limit(object.attr, object.width(), object.height(), object.x, object.y,
                                left, top);
    }
    const long long dx = static_cast<long long>(placement.left) - object.x;
    const long long dy = static_cast<long long>(placement.top) - object.y;
    object.x = placement.left;
    object.y = placement.top;
    if (const Carrier* carrier = carrierOf(object)) {
        for (const int id : carrier->passengers) {
            if (Object* passenger = findObject(id)) {
                passenger->x = wrap(passenger->x + dx);
                passenger->y = wrap(passenger->y + dy);
            }
        }
    }
    return placement;
}

void World::travel(Object& object) {
    if (auto* vehicle = object.shape.as<Vehicle>()) {
        if (vehicle->xvec == 0 && vehicle->yvec == 0) return;
        const int left = wrap(static_cast<long long>(object.x) + vehicle->xvec);
        const int top = wrap(static_cast<long long>(object.y) + vehicle->yvec);
        const Placement placement = moveObject(object, left, top, true);
        vehicle->bump = bumpOf(placement, left, top);
        if (placement.collided) queueEvent(object, {kEventCollision, 0});
        return;
    }
    auto* lift = object.shape.as<Lift>();
    if (!lift || !lift->goingTo) return;
    const long long bottom = static_cast<long long>(object.y) + object.height();
    const long long step = std::clamp<long long>(*lift->goingTo - bottom, -kLiftSpeed, kLiftSpeed);
    moveObject(object, object.x, wrap(object.y + step), false);
    if (bottom + step != *lift->goingTo) return;
    lift->goingTo.reset();
    letOut(object);
}

// A button stands at the floor it calls to: the lift's bottom stops level with the button's.
void World::pressCallButton(const Object& button) {
    const CallButton* calling = button.shape.as<CallButton>();
    Object* liftObject = calling ? findObject(calling->lift) : nullptr;
    Lift* lift = liftObject ? liftObject->shape.as<Lift>() : nullptr;
    if (!lift) return;
    const int floor = offset(button.y, button.height());
    if (offset(liftObject->y, liftObject->height()) == floor) return;
    if (!lift->goingTo) takeOnCabin(*liftObject);
    lift->goingTo = floor;
}

void World::board(Object& carrier, Object& passenger) {
    Carrier* cabin = carrierOf(carrier);
    if (!cabin || passenger.carriedBy == carrier.id || passenger.id == carrier.id) return;
    alight(passenger);
    cabin->passengers.push_back(passenger.id);
    passenger.carriedBy = carrier.id;
}

void World::alight(Object& passenger) {
    if (passenger.carriedBy == 0) return;
    if (Object* carrier = findObject(passenger.carriedBy)) {
        if (Carrier* cabin = carrierOf(*carrier)) std::erase(cabin->passengers, passenger.id);
    }
    passenger.carriedBy = 0;
}

void World::takeOnCabin(Object& carrier) {
    const Carrier* carried = carrierOf(carrier);
    if (!carried) return;
    const Box cabin = cabinOf(carrier, *carried);
    for (Object& object : m_objects) {
        if (object.killed || object.carriedBy != 0 || !mayRide(object)) continue;
        if (cabin.holds(offset(object.x, object.width() / 2),
                        offset(object.y, object.height() / 2)))
            board(carrier, object);
    }
}

void World::letOut(Object& carrier) {
    Carrier* cabin = carrierOf(carrier);
    if (!cabin) return;
    for (const int id : cabin->passengers) {
        if (Object* passenger = findObject(id)) passenger->carriedBy = 0;
    }
    cabin->passengers.clear();
}

}  // namespace vek::vivarium
