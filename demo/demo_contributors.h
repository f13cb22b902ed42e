#pragma once

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

}  // namespace vek::demo
