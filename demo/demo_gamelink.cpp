#include <cstdlib>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_contributors.h"
#include "objects/classifier.h"
#include "sprites/sprite_file.h"

namespace vek::demo {

namespace fs = std::filesystem;

namespace {

// The launcher object's picture: a framed "V" on a transparent ground.
SpriteImage launcherPicture() {
    constexpr int kSide = 24;
    SpriteImage image(kSide, kSide, 0);
    for (int i = 0; i < kSide; ++i) {
        image.at(i, 0) = image.at(i, kSide - 1) = image.at(0, i) = image.at(kSide - 1, i) = 7;
    }
    for (int y = 4; y < 20; ++y) {
        const int offset = (y - 4) / 2;
        for (int thick = 0; thick < 2; ++thick) {
            image.at(4 + offset + thick, y) = 5;
            image.at(19 - offset - thick, y) = 5;
        }
    }
    return image;
}

// The stand-in game's world: a few objects and scripts of its own, so that the command
// interface has something to show and the macro extraction something to save.
std::string simulatedWorld() {
    auto object = [](const std::string& sprite, int family, int genus, int species, int x, int y) {
        const std::int32_t number = Classifier{family, genus, species}.classNumber();
        return "inst,new: simp " + sprite + " 1 0 3000 0,setv clas " + std::to_string(number) +
               ",mvto " + std::to_string(x) + " " + std::to_string(y) + ",endm\n";
    };
    std::string world = "* The world of vivarium-sim on the demo installation: one macro a line.\n";
    world += object("vbal", 2, 5, 3, 1200, 900) + object("vbal", 2, 5, 3, 1400, 910) +
             object("vbal", 2, 5, 3, 2600, 700);
    world += object("vtop", 2, 21, 7, 3100, 880) + object("heat", 2, 23, 1, 600, 950);
    world += object("carr", 2, 13, 1, 1800, 960) + object("carr", 2, 13, 1, 1850, 960);
    world += object("lift", 3, 1, 1, 4000, 500) + object("door", 3, 2, 4, 4400, 600);
    world +=
        "* Scripts of the world's classes.\n"
        "scrp 2 5 3 1,snde drip,anim [0123],over,endm\n"
        "scrp 2 13 1 0,setv actv 0,pose 0,endm\n"
        "scrp 2 13 1 12,stim writ from 0 255 0 0 11 30 0 0 0 0 0 0,kill ownr,endm\n"
        "scrp 2 21 7 9,doif obv0 eq 1,setv obv0 0,pose 0,endi,endm\n"
        "scrp 3 1 1 1,mvby 0 -400,tick 20,endm\n"
        "scrp 3 1 1 9,mvby 0 400,tick 0,endm\n"
        "scrp 3 2 4 0,pose 1,snde dr10,endm\n";
    return world;
}

}  // namespace

void writeDemoGameLink(const DemoLayout& layout) {
    writeSpriteFile(layout.programDirectory() / "rpsw.kev",
                    std::vector<SpriteImage>{launcherPicture()});
    writeFileAtomically(layout.gameDirectory() / "vivarium-world.txt", simulatedWorld());
}

}  // namespace vek::demo
