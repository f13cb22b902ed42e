#include "vivarium/scene.h"

#include <algorithm>

#include "app/text_names.h"
#include "vivarium/trace.h"

namespace vek::vivarium {

namespace {

struct Painted {
    int plane = 0;
    DrawnObject drawn;
};

// A compound object's part k > 0: its image of the object's sprite file, at its place from
// part 0's top left corner, on its own plane.
Painted paintedPart(const Object& object, const Part& part) {
    const int image = object.firstImage + part.image;
    const bool known =
        object.sizes && image >= 0 && static_cast<std::size_t>(image) < object.sizes->sizes.size();
    const auto [width, height] =
        known ? object.sizes->sizes[static_cast<std::size_t>(image)] : std::pair{0, 0};
    const auto [x, y] = *partPlace(object, part.number);
    return {part.plane, {object.id, object.sprite, image, x, y, width, height}};
}

}  // namespace

std::vector<DrawnObject> paintOrder(const World& world) {
    std::vector<Painted> painted;
    painted.reserve(world.objects().size());
    for (const Object& object : world.objects()) {
        painted.push_back({object.plane,
                           {object.id, object.sprite, object.firstImage + object.base + object.pose,
                            object.x, object.y, object.width(), object.height()}});
        if (const auto* compound = object.shape.as<Compound>()) {
            for (const Part& part : compound->parts) painted.push_back(paintedPart(object, part));
        }
    }
    std::stable_sort(painted.begin(), painted.end(),
                     [](const Painted& a, const Painted& b) { return a.plane < b.plane; });
    std::vector<DrawnObject> drawn;
    drawn.reserve(painted.size());
    for (Painted& each : painted) drawn.push_back(std::move(each.drawn));
    return drawn;
}

int objectAt(const World& world, int x, int y) {
    const std::vector<DrawnObject> drawn = paintOrder(world);
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it) {
        if (x >= it->x && y >= it->y && x < it->x + it->width && y < it->y + it->height)
            return it->object;
    }
    return 0;
}

ObjectRow objectRow(const Object& object, const ClassNames& names) {
    ObjectRow row;
    row.object = object.id;
    row.clas = std::to_string(object.family) + " " + std::to_string(object.genus) + " " +
               std::to_string(object.species);
    if (names) row.name = names(object.family, object.genus, object.species);
    row.position = std::to_string(object.x) + ", " + std::to_string(object.y);
    row.pose = std::to_string(object.pose);
    row.timer = object.timerRate > 0 ? std::to_string(object.timerRate) : std::string("-");
    row.variables = std::to_string(object.objectVariables[0]) + " " +
                    std::to_string(object.objectVariables[1]) + " " +
                    std::to_string(object.objectVariables[2]);
    return row;
}

std::string logLine(const Happening& happening, std::string_view language) {
    std::string line(fill(Msg::VivariumLogTick, {std::to_string(happening.tick)}).in(language));
    // A fault's place and text say whose it was.
    if (happening.kind == HappeningKind::Fault)
        return line + ": " + placeOf(happening) + ": " + std::string(happening.fault.in(language));
    if (happening.object != 0) line.append(1, ' ').append(objectName(happening.object));
    line.append(": ");
    if (happening.kind != HappeningKind::NotModelled) return line + happening.detail;
    line.append(fill(Msg::VivariumLogNotModelled, {happening.detail}).in(language));
    return line + " (" + placeOf(happening) + ")";
}

}  // namespace vek::vivarium

namespace vek::vivarium {

std::string soundName(const Happening& happening) {
    if (happening.kind != HappeningKind::Sound) return {};
    // "snde spin": the word, then the name.
    const std::size_t blank = happening.detail.rfind(' ');
    if (blank == std::string::npos) return {};
    std::string name = happening.detail.substr(blank + 1);
    const bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
    return plain ? name : std::string();
}

}  // namespace vek::vivarium
