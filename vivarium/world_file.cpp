#include "vivarium/world_file.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "language/later_generation.h"

namespace vek::vivarium {

namespace {

// The sprite name of objects made only to take a number; no installation has such a file.
constexpr std::string_view kNoSprite = "none";

// A word and its numbers: "mvto 10 20". Built by appends: GCC 12 warns falsely about a
// concatenation with a literal here.
std::string command(std::string_view word, std::initializer_list<int> numbers) {
    std::string text(word);
    for (const int number : numbers) text.append(1, ' ').append(std::to_string(number));
    return text;
}

// One macro run at once: "inst," then its commands, then ",endm".
class MacroLine {
  public:
    void add(std::string_view command) { m_text.append(1, ',').append(command); }
    void add(std::string_view word, std::initializer_list<int> numbers) {
        add(command(word, numbers));
    }
    std::string done() && { return std::move(m_text.append(",endm")); }

  private:
    std::string m_text{"inst"};
};

bool shows(const Object& object, int base, int pose) {
    const long long image = static_cast<long long>(base) + pose;
    return image >= 0 && image < object.imageCount;
}

// The frames still to come of a running animation; a repeating one goes round from its
// current frame, so that it shows the same images in the same order.
std::string framesToCome(const Animation& animation) {
    if (!animation.running || animation.frame >= animation.frames.size()) return {};
    std::string frames = animation.frames.substr(animation.frame);
    if (animation.repeats) frames.append(animation.frames.substr(0, animation.frame));
    return frames;
}

// The base, and the pose or the running animation. Pose and frames were checked against the
// base of their time: where the base has changed since, a base that shows them goes first.
void addLooks(MacroLine& line, const Object& object) {
    const std::string frames = framesToCome(object.animation);
    int lowest = object.pose;
    int highest = object.pose;
    if (!frames.empty()) {
        const auto [low, high] = std::minmax_element(frames.begin(), frames.end());
        lowest = *low - '0';
        highest = *high - '0';
    } else if (object.pose == 0) {
        if (object.base != 0) line.add("base", {object.base});
        return;
    }
    const bool fits = shows(object, object.base, lowest) && shows(object, object.base, highest);
    const int base = fits ? object.base : -lowest;
    if (base != 0) line.add("base", {base});
    if (frames.empty()) {
        line.add("pose", {object.pose});
    } else {
        std::string anim("anim [");
        anim.append(frames).append(object.animation.repeats ? "R]" : "]");
        line.add(anim);
    }
    if (base != object.base) line.add("base", {object.base});
}

// A word that makes an object from a sprite file's images: "new: vhcl car_ 1 0".
std::string pictured(std::string_view word, const Object& object) {
    std::string text(word);
    text.append(1, ' ').append(object.sprite.empty() ? kNoSprite : object.sprite);
    return command(text, {object.imageCount, object.firstImage});
}

void addCabin(MacroLine& line, const Carrier& carrier) {
    if (const auto& cabin = carrier.cabin)
        line.add("cabn", {cabin->left, cabin->top, cabin->right, cabin->bottom});
}

// The creating word of the object's kind, then what its kind keeps beyond a new one's. Objects
// of a creating word the world does not model have no sprite and are made as compound objects.
// Passengers and a lift's journey are not kept.
void addCreation(MacroLine& line, const Object& object) {
    struct Visitor {
        MacroLine& line;
        const Object& object;
        void operator()(std::monostate) const {
            if (object.sprite.empty()) return line.add(pictured("new: comp", object) + " 0");
            line.add(command(pictured("new: simp", object), {object.plane, 0}));
        }
        void operator()(const Compound& compound) const {
            line.add(command(pictured("new: comp", object), {object.plane}));
            for (const Part& part : compound.parts)
                line.add("new: part", {part.number, part.left, part.top, part.image, part.plane});
            if (compound.selectedPart != 0) line.add("part", {compound.selectedPart});
            for (const Hotspot& spot : compound.hotspots)
                line.add("spot", {spot.number, spot.left, spot.top, spot.right, spot.bottom});
        }
        void operator()(const Vehicle& vehicle) const {
            line.add(pictured("new: vhcl", object));
            addCabin(line, vehicle.carrier);
            if (vehicle.xvec != 0) line.add("setv xvec", {vehicle.xvec});
            if (vehicle.yvec != 0) line.add("setv yvec", {vehicle.yvec});
        }
        void operator()(const Lift& lift) const {
            line.add(pictured("new: lift", object));
            addCabin(line, lift.carrier);
        }
        void operator()(const CallButton&) const {
            line.add(command(pictured("new: cbtn", object), {object.plane}));
        }
        void operator()(const Blackboard& board) const {
            line.add(command(pictured("new: bkbd", object), {object.plane, 0, 0, 0, 0}));
            for (const auto& [place, word] : board.words) {
                line.add(command("bbd: word", {place, word.number}) + " [" + word.text + "]");
            }
            if (board.shown) line.add("bbd: show 1");
            if (board.editing) line.add("bbd: edit 1");
        }
    };
    const Visitor visitor{line, object};
    if (const ObjectKinds* kinds = object.shape.kinds()) return std::visit(visitor, *kinds);
    visitor(std::monostate{});
}

std::string creatingLine(const Object& object) {
    MacroLine line;
    addCreation(line, object);
    if (object.classNumber() != 0) line.add("setv clas", {object.classNumber()});
    if (object.x != 0 || object.y != 0) line.add("mvto", {object.x, object.y});
    addLooks(line, object);
    if (object.attr != 0) line.add("setv attr", {object.attr});
    if (object.actv != 0) line.add("setv actv", {object.actv});
    if (object.click != 0 || object.touch != 0) line.add("bhvr", {object.click, object.touch});
    if (object.timerRate != 0) line.add("tick", {object.timerRate});
    for (std::size_t k = 0; k < object.objectVariables.size(); ++k) {
        if (object.objectVariables[k] == 0) continue;
        std::string variable("setv obv");
        variable.append(std::to_string(k));
        line.add(variable, {object.objectVariables[k]});
    }
    return std::move(line).done();
}

// How many gone numbers one line takes again: each costs three commands, so that a line stays
// far below the commands the world lets one macro run.
constexpr int kGoneNumbersPerLine = kCommandsPerTickLimit / 10;

// Objects made and killed at once, so that the next object gets its own number again.
void addGoneNumbers(std::vector<std::string>& lines, int first, int last) {
    if (last < first) return;
    lines.push_back(command("* numbers", {first})
                        .append(command(" to", {last}))
                        .append(": objects that are gone"));
    std::string simp("new: simp ");
    simp.append(kNoSprite).append(" 0 0 0 0");
    for (long long left = static_cast<long long>(last) - first + 1; left > 0;) {
        const int count = static_cast<int>(std::min<long long>(left, kGoneNumbersPerLine));
        MacroLine line;
        line.add("reps", {count});
        line.add(simp);
        line.add("kill targ");
        line.add("repe");
        lines.push_back(std::move(line).done());
        left -= count;
    }
}

std::string scriptLine(const ScriptKey& key, const Program& script) {
    std::string line =
        command("scrp", {key.family, key.genus, key.species, key.event}).append(1, ',');
    // One macro a line: a line break in a script is a blank to the game.
    std::string body = script.text;
    std::replace_if(
        body.begin(), body.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    line.append(body.empty() ? std::string("endm") : body);
    return line;
}

}  // namespace

std::vector<std::string> worldFileLines(const World& world) {
    std::vector<std::string> lines = {
        "* A world of the Vivarium: one macro a line, run in order in a fresh world.",
        "* Timer counts, running scripts and events not yet taken start anew.",
        "* The scriptorium"};
    for (const auto& [key, script] : world.scripts()) lines.push_back(scriptLine(key, *script));
    lines.emplace_back("* The objects");
    int next = 1;
    for (const Object& object : world.objects()) {
        if (object.killed) continue;
        addGoneNumbers(lines, next, object.id - 1);
        std::string comment("* object #");
        comment.append(std::to_string(object.id))
            .append(command(" class", {object.family, object.genus, object.species}));
        lines.push_back(std::move(comment));
        lines.push_back(creatingLine(object));
        next = object.id + 1;
    }
    addGoneNumbers(lines, next, world.nextObjectId() - 1);
    if (world.find(world.editObject())) {
        MacroLine line;
        line.add("targ", {world.editObject()});
        line.add("edit");
        lines.push_back(std::move(line).done());
    }
    return lines;
}

std::string worldFileText(const World& world) {
    std::string text;
    for (const std::string& line : worldFileLines(world)) text.append(line).append(1, '\n');
    return text;
}

void saveWorldFile(const World& world, const std::filesystem::path& file) {
    const std::string text = worldFileText(world);
    if (text.size() > kMaxWorldFileSize) {
        throw VekError(fill(Msg::VivariumWorldTooLarge,
                            {std::to_string(text.size()), std::to_string(kMaxWorldFileSize)}),
                       ErrorDetail::ofFile(file));
    }
    writeFileAtomically(file, text);
}

std::string readWorldFile(const std::filesystem::path& file) {
    return readFileText(file, kMaxWorldFileSize);
}

std::vector<WorldFileMacro> worldFileMacros(std::string_view text) {
    std::vector<WorldFileMacro> macros;
    const std::vector<std::string_view> lines = splitLines(text);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        if (line.empty() || line.front() == '*') continue;
        macros.push_back({MacroText(line, static_cast<int>(n + 1)), n + 1});
    }
    return macros;
}

std::vector<Finding> checkWorldFileMacros(std::string_view text, const CheckOptions& options) {
    std::vector<Finding> findings;
    for (const WorldFileMacro& line : worldFileMacros(text)) {
        const std::vector<Finding> found = checkMacro(line.macro, MacroKind::Macro, options);
        findings.insert(findings.end(), found.begin(), found.end());
    }
    gatherLaterGenerationWords(findings);
    return findings;
}

void runWorldText(std::string_view text, const std::filesystem::path& file,
                  const WorldMacroRunner& run) {
    for (const WorldFileMacro& macro : worldFileMacros(text)) {
        if (const std::optional<BilingualText> refusal = run(macro.macro)) {
            throw VekError(fill(Msg::VivariumWorldLineRefused, {*refusal}),
                           {pathToUtf8(file), macro.line, {}, {}});
        }
    }
}

void runWorldFile(const std::filesystem::path& file, const WorldMacroRunner& run) {
    runWorldText(readWorldFile(file), file, run);
}

}  // namespace vek::vivarium
