#include "vivarium/trace.h"

namespace vek::vivarium {

namespace {

std::string tickPrefix(int tick, int family, int genus, int species, int id) {
    return "tick " + std::to_string(tick) + " " + std::to_string(family) + " " +
           std::to_string(genus) + " " + std::to_string(species) + " #" + std::to_string(id);
}

}  // namespace

std::string placeOf(const Happening& happening) {
    const bool named = happening.origin && !happening.origin->file.empty();
    const std::string file = named ? happening.origin->file : std::string("-");
    return file + ":" + std::to_string(happening.position.line) + ":" +
           std::to_string(happening.position.column);
}

std::string stateLine(int tick, const Object& object) {
    std::string line = tickPrefix(tick, object.family, object.genus, object.species, object.id) +
                       " " + std::to_string(object.x) + " " + std::to_string(object.y) + " pose " +
                       std::to_string(object.pose);
    // A compound object's parts follow, each where it is now.
    if (const auto* compound = object.shape.as<Compound>()) {
        for (const Part& part : compound->parts) {
            const auto place = partPlace(object, part.number);
            line.append(" part ").append(std::to_string(part.number)).append(1, ' ');
            line.append(std::to_string(place->first)).append(1, ' ');
            line.append(std::to_string(place->second));
        }
    }
    return line;
}

std::string happeningLine(const Happening& happening) {
    if (happening.kind == HappeningKind::Fault)
        return placeOf(happening) + ": error: " + happening.fault.english;
    std::string line = tickPrefix(happening.tick, happening.family, happening.genus,
                                  happening.species, happening.object) +
                       " ";
    if (happening.kind == HappeningKind::NotModelled)
        return line + "not modelled " + happening.detail + " at " + placeOf(happening);
    return line + happening.detail;
}

}  // namespace vek::vivarium
