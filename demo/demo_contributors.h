#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "demo/demo_installation.h"

// Each subsystem adds its files to the demo installation through one function here.
namespace vek::demo {

void writeDemoBasics(const DemoLayout& layout);    // directories, palette.dta, sounds
void writeDemoPictures(const DemoLayout& layout);  // back.spr landscape, bitmaps to convert
void writeDemoObjects(
    const DemoLayout& layout);  // object sources and files, sprites for them, mac/
void writeDemoGameLink(const DemoLayout& layout);  // rpsw.kev, the world of vivarium-sim
void writeDemoGenerators(
    const DemoLayout& layout);  // classes.vek, objed.dta, chemicals.txt, genetics, mac/
void writeDemoSprites(
    const DemoLayout& layout);  // sprite files of several sizes, one of many small ones

void writeDemoWorld(const DemoLayout& layout);  // world files, the Wine prefix, drive A:

// Indices into the demo palette's colour cube (six levels a component, from index 11).
constexpr std::uint8_t paletteCube(int red, int green, int blue) {
    return static_cast<std::uint8_t>(11 + red * 36 + green * 6 + blue);
}

// A macro file as the macro extraction leaves it: a quote before the first line and after the
// last. Written into the program directory's mac/.
struct MacroFile {
    const char* name;
    std::vector<std::string> lines;
};
void writeMacroFiles(const DemoLayout& layout, std::span<const MacroFile> files);

}  // namespace vek::demo
