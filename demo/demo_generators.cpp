#include <array>

#include "app/byte_io.h"
#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_contributors.h"

namespace vek::demo {

namespace fs = std::filesystem;

namespace {

// Our own class list: level 1 a family, 2 a genus, 3 a species, each with its number and a
// description of ours. The species of family 2 match the demo's objects.
struct DemoClass {
    int level;
    int number;
    const char* description;
};

constexpr DemoClass kDemoClasses[] = {
    {1, 1, "Pointer and helpers"},
    {2, 1, "Hand"},
    {1, 2, "Simple Objects"},
    {2, 5, "Toys"},
    {3, 1, "Wooden block"},
    {3, 3, "Bouncing ball"},
    {3, 4, "Kite"},
    {2, 8, "Plants"},
    {3, 1, "Sunflower"},
    {3, 2, "Creeper"},
    {2, 11, "Food"},
    {3, 1, "Carrot"},
    {3, 4, "Honey pot"},
    {2, 21, "Spinning things"},
    {3, 7, "Spinning top"},
    {2, 23, "Warmers"},
    {3, 1, "Heater"},
    {2, 30, "Lifts"},
    {3, 1, "Little lift"},
    {3, 2, "Call button"},
    {2, 31, "Vehicles"},
    {3, 1, "Toy car"},
    {2, 32, "Mills"},
    {3, 1, "Toy mill"},
    {1, 3, "Compound Objects"},
    {2, 1, "Machines"},
    {3, 2, "Lift"},
    {1, 4, "Creatures"},
    {2, 1, "Norns"},
    {2, 2, "Grendels"},
};

// The same classes as classes.vek lines: the numbers of the entry and its parents.
std::vector<std::string> catalogueLines() {
    std::vector<std::string> lines;
    std::array<std::string, 3> numbers;
    for (const DemoClass& entry : kDemoClasses) {
        const auto level = static_cast<std::size_t>(entry.level - 1);
        numbers[level] = (level > 0 ? numbers[level - 1] + " " : "") + std::to_string(entry.number);
        lines.push_back(std::string(level, '\t') + numbers[level] + " {" + entry.description + "}");
    }
    return lines;
}

std::vector<std::string> objedLines() {
    std::vector<std::string> lines;
    for (const DemoClass& entry : kDemoClasses) {
        lines.push_back(std::to_string(entry.number) + ",\"" + entry.description + "\"," +
                        std::to_string(entry.level));
    }
    return lines;
}

// 256 chemical names of our own invention: a stem and an ending for each number.
std::vector<std::uint8_t> chemicalsFile() {
    constexpr const char* kStems[16] = {"Amber", "Brisk",  "Cobal", "Dusk", "Ember", "Fenn",
                                        "Glim",  "Hollo",  "Ivor",  "Juni", "Kelp",  "Lumi",
                                        "Moss",  "Nectar", "Ochre", "Pell"};
    constexpr const char* kEndings[16] = {"ase",  "ine",  "ol",   "ide", "ene", "ate",
                                          "ose",  "yl",   "ium",  "ane", "ite", "amine",
                                          "oxin", "ogen", "ulin", "erol"};
    ByteWriter out;
    for (int number = 0; number < 256; ++number) {
        const std::string name = number == 0
                                     ? std::string("(nothing)")
                                     : std::string(kStems[number / 16]) + kEndings[number % 16];
        out.u16(static_cast<std::uint16_t>(name.size()));
        out.text(name);
    }
    return out.take();
}

// Stand-ins for genetics files: the program uses only their names' first four characters.
std::vector<std::string> geneticsFileNames() {
    std::vector<std::string> names;
    for (const char* parent : {"mum", "dad"})
        for (int k = 1; k <= 6; ++k) names.push_back(parent + std::to_string(k) + ".gen");
    names.emplace_back("gren.gen");
    return names;
}

// More scripts of the demo's ball (2 5 3), as the macro extraction writes them.
const MacroFile kBallMacros[] = {
    {"02050300.MAC", {"\"setv actv 0", "pose 0", "endm\""}},
    {"02050305.MAC", {"\"snde drop", "pose 1", "endm\""}},
};

}  // namespace

void writeDemoGenerators(const DemoLayout& layout) {
    const fs::path program = layout.programDirectory();
    writeFileAtomically(program / "classes.vek", joinCrLf(catalogueLines()));
    writeFileAtomically(program / "objed.dta", joinCrLf(objedLines()));
    writeFileAtomically(program / "chemicals.txt", chemicalsFile());
    writeMacroFiles(layout, kBallMacros);

    const fs::path genetics = pathFromUtf8(gamePathsUnder(layout.gameDirectory()).CGeneticsPath);
    fs::create_directories(genetics);
    for (const std::string& name : geneticsFileNames()) {
        writeFileAtomically(genetics / name, "Vekstudio demo genetics stand-in " + name + "\r\n");
    }
}

}  // namespace vek::demo
