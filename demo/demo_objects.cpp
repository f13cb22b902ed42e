#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_contributors.h"
#include "objects/classifier.h"
#include "objects/cob_compiler.h"
#include "objects/sprite_file_pictures.h"
#include "sprites/sprite_file.h"

namespace vek::demo {

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

// A spinning top seen from the side, its stripes turned a little further in each frame.
SpriteImage spinningTopFrame(int frame) {
    constexpr int kSize = 40;
    SpriteImage image(kSize, kSize, 0);
    const std::uint8_t stripes[2] = {paletteCube(5, 1, 0), paletteCube(5, 5, 1)};
    for (int y = 2; y < kSize - 2; ++y) {
        // A body widest a third of the way down, narrowing to the tip.
        const double t = static_cast<double>(y - 2) / (kSize - 5);
        const double halfWidth = t < 0.35 ? 6 + t / 0.35 * 12 : 18 * (1 - (t - 0.35) / 0.65) + 0.5;
        for (int x = 0; x < kSize; ++x) {
            const double dx = x - (kSize - 1) / 2.0;
            if (std::abs(dx) > halfWidth) continue;
            const double angle = std::asin(std::clamp(dx / std::max(halfWidth, 0.5), -1.0, 1.0));
            const int band = static_cast<int>(
                std::floor((angle + frame * std::numbers::pi / 8) / (std::numbers::pi / 4)));
            image.at(x, y) = stripes[(band % 2 + 2) % 2];
        }
    }
    for (int y = 0; y < 2; ++y) {
        for (int x = kSize / 2 - 1; x <= kSize / 2; ++x)
            image.at(x, y) = paletteCube(1, 1, 1);  // the handle
    }
    return image;
}

// A ball with a highlight, squashed a little in its second frame.
SpriteImage ballFrame(int frame) {
    constexpr int kSize = 24;
    constexpr double kRadius = (kSize - 1) / 2.0;
    SpriteImage image(kSize, kSize, 0);
    const double squash = frame == 0 ? 1.0 : 0.8;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double dx = (x - kRadius) / kRadius;
            const double dy = (y - (kSize - 1 - kRadius * squash)) / (kRadius * squash);
            const double distance = dx * dx + dy * dy;
            if (distance > 1.0) continue;
            const bool highlight = (dx + 0.4) * (dx + 0.4) + (dy + 0.4) * (dy + 0.4) < 0.08;
            image.at(x, y) = highlight
                                 ? paletteCube(5, 5, 5)
                                 : (distance > 0.7 ? paletteCube(0, 1, 4) : paletteCube(1, 2, 5));
        }
    }
    return image;
}

// A radiator: red ribs in a dark frame.
SpriteImage heaterFrame() {
    constexpr int kWidth = 32;
    constexpr int kHeight = 24;
    SpriteImage image(kWidth, kHeight, paletteCube(1, 1, 1));
    for (int y = 2; y < kHeight - 2; ++y) {
        for (int x = 2; x < kWidth - 2; ++x)
            image.at(x, y) = x % 4 < 2 ? paletteCube(5, 1, 0) : paletteCube(3, 0, 0);
    }
    return image;
}

// A box of one colour in a frame of another: the lift's cabin, its buttons, the car, the mill.
SpriteImage framedBox(int width, int height, std::uint8_t inside, std::uint8_t frame) {
    SpriteImage image(width, height, frame);
    for (int y = 2; y < height - 2; ++y) {
        for (int x = 2; x < width - 2; ++x) image.at(x, y) = inside;
    }
    return image;
}

// A wooden block, upright in its first frame and tipped over in its second.
SpriteImage blockFrame(int frame) {
    constexpr int kSize = 28;
    SpriteImage image(kSize, kSize, 0);
    const int width = frame == 0 ? 16 : 26;
    const int height = frame == 0 ? 26 : 16;
    const int left = (kSize - width) / 2;
    const int top = kSize - height;
    for (int y = top; y < kSize; ++y) {
        for (int x = left; x < left + width; ++x) {
            const bool rim = y == top || y == kSize - 1 || x == left || x == left + width - 1;
            const bool grain = (x + 2 * y) % 7 == 0;
            image.at(x, y) =
                rim ? paletteCube(2, 1, 0) : (grain ? paletteCube(4, 2, 1) : paletteCube(5, 3, 1));
        }
    }
    return image;
}

std::string classLine(int family, int genus, int species) {
    return "  setv clas " + std::to_string(Classifier{family, genus, species}.classNumber());
}

// A toy that spins when activated: nested blocks, a timer and a picture from its own sprite.
Lines spinningTopSource() {
    return {"* Spinning top - a demo object of Vekstudio",
            "* Activate it and it spins until its timer runs out.",
            "",
            "name Spinning Top",
            "quantity 5",
            "used 0",
            "day 31",
            "month 12",
            "year 1999",
            "sprite vtop 0",
            "",
            "inst",
            "  new: simp vtop 4 0 2000 0",
            classLine(2, 21, 7),
            "  setv attr 199",
            "  bhvr 1 0",
            "  mvto 4400 600",
            "  setv actv 0",
            "endm",
            "",
            "* Activate(1): spin, faster each time",
            "scrp 2 21 7 1",
            "  doif obv0 eq 0",
            "    setv obv0 1",
            "    snde spin",
            "    reps 3",
            "      anim [0123]",
            "      wait 4",
            "    repe",
            "    tick 20",
            "  else",
            "    addv obv1 1",
            "    doif obv1 gt 3",
            "      setv obv1 3",
            "    endi",
            "  endi",
            "endm",
            "",
            "* Timer: slow down and stop",
            "scrp 2 21 7 9",
            "  loop",
            "    subv obv1 1",
            "    wait 10",
            "  untl obv1 le 0",
            "  setv obv0 0",
            "  pose 0",
            "  tick 0",
            "endm"};
}

// A ball that hops when hit and tells the other toys about it.
Lines ballSource() {
    return {"* Bouncing ball - a demo object of Vekstudio",
            "name Bouncing Ball",
            "quantity 10",
            "sprite vbal 0",
            "",
            "inst",
            "  new: simp vbal 2 0 3000 0",
            classLine(2, 5, 3),
            "  setv attr 195",
            "  mvto 5200 700",
            "endm",
            "",
            "* Hit: hop and tell the other toys",
            "scrp 2 5 3 3",
            "  pose 1",
            "  mvby 6 -12",
            "  enum 2 0 0",
            "    doif targ ne ownr",
            "      mesg writ targ 0",
            "    endi",
            "  next",
            "  wait 3",
            "  mvby -6 12",
            "  pose 0",
            "endm",
            "",
            "* Dropped",
            "scrp 2 5 3 5",
            "  snde drop",
            "endm"};
}

// No picture: a plain example of comments, header keywords and a time limit.
Lines heaterSource() {
    return {"* Heater - switches itself off after a while",
            "*   Lines beginning with a star are comments.",
            "*   Blank lines and lines outside sections are ignored.",
            "name Little Heater",
            "quantity 1",
            "month 6",
            "day 1",
            "year 2000",
            "",
            "inst",
            "  new: simp heat 1 0 1500 0",
            classLine(2, 23, 1),
            "  setv attr 4",
            "endm",
            "",
            "scrp 2 23 1 1",
            "  setv obv0 1",
            "  tick 200",
            "endm",
            "",
            "scrp 2 23 1 9",
            "  setv obv0 0",
            "  tick 0",
            "endm"};
}

// A lift between two floors with a call button on each; a button lights while it calls.
Lines liftSource() {
    return {"* Lift - a demo object of Vekstudio",
            "* Activate a call button and the lift comes to its floor.",
            "name Little Lift",
            "sprite vlft 0",
            "sprite vbtn 0",
            "",
            "inst",
            "  new: lift vlft 1 0",
            classLine(2, 30, 1),
            "  mvto 3000 912",
            "  cabn 4 4 36 44",
            "  new: cbtn vbtn 2 0 1100",
            classLine(2, 30, 2),
            "  mvto 3050 738",
            "  new: cbtn vbtn 2 0 1100",
            classLine(2, 30, 2),
            "  mvto 3050 948",
            "endm",
            "",
            "* Activate(1): a button lights for a moment",
            "scrp 2 30 2 1",
            "  pose 1",
            "  wait 5",
            "  pose 0",
            "endm"};
}

// A car that drives off with what stands in it and turns at the walls.
Lines carSource() {
    return {"* Car - a demo object of Vekstudio",
            "name Toy Car",
            "sprite vcar 0",
            "",
            "inst",
            "  new: vhcl vcar 1 0",
            classLine(2, 31, 1),
            "  setv attr 64",
            "  mvto 1200 900",
            "  cabn 8 4 56 28",
            "endm",
            "",
            "* Activate(1): take on what is in the cabin and drive for a while",
            "scrp 2 31 1 1",
            "  gpas",
            "  setv xvec 3",
            "  tick 40",
            "endm",
            "",
            "* Collision: turn round",
            "scrp 2 31 1 6",
            "  negv xvec",
            "endm",
            "",
            "* Timer: stop and let the passengers out",
            "scrp 2 31 1 9",
            "  setv xvec 0",
            "  dpas",
            "  tick 0",
            "endm"};
}

// A mill of two parts, its house and its sails, that moves as one.
Lines millSource() {
    return {"* Mill - a demo object of Vekstudio",
            "name Toy Mill",
            "sprite vmil 0",
            "",
            "inst",
            "  new: comp vmil 2 0 1500",
            "  new: part 1 4 -16 1 1510",
            classLine(2, 32, 1),
            "  mvto 2000 880",
            "endm",
            "",
            "* Activate(1): the sails turn and the mill creeps along",
            "scrp 2 32 1 1",
            "  part 1",
            "  snde spin",
            "  mvby 4 0",
            "endm"};
}

// A toy for a creature: it stands on the ground, and whoever plays with it (activate 1 or 2)
// is rewarded through a stimulus with a chemical, then it rights itself.
Lines blockSource() {
    return {"* Wooden block - a demo toy of Vekstudio for a creature to play with",
            "name Wooden Block",
            "quantity 3",
            "sprite vblk 0",
            "",
            "inst",
            "  new: simp vblk 2 0 2500 0",
            classLine(2, 5, 1),
            "  setv attr 135",
            "  bhvr 1 1",
            "* On the ground under its middle: 28 high, 14 from its left edge",
            "  setv var0 grnd 188",
            "  subv var0 28",
            "  mvto 3000 var0",
            "endm",
            "",
            "* Activate(1): knocked over; the one who did it gets a stimulus and chemical 35",
            "scrp 2 5 1 1",
            "  snde drop",
            "  pose 1",
            "  stim writ from 0 255 0 0 35 20 0 0 0 0 0 0",
            "  wait 5",
            "  pose 0",
            "endm",
            "",
            "* Activate(2): pushed; a smaller reward",
            "scrp 2 5 1 2",
            "  stim writ from 0 255 0 0 35 5 0 0 0 0 0 0",
            "endm",
            "",
            "* Picked up and dropped: it lands upright",
            "scrp 2 5 1 5",
            "  pose 0",
            "endm"};
}

std::vector<MacroFile> macroFiles() {
    return {{"02050301.MAC", {"\"snde drip", "anim [0123]", "over", "endm\""}},
            {"02050309.MAC", {"\"doif obv0 eq 1", "setv obv0 0", "pose 0", "endi", "endm\""}},
            {"02210700.MAC", {"\"setv actv 0", "pose 0", "tick 0", "endm\""}}};
}

void writeDemoObject(const fs::path& mainDirectory, const std::string& imagePath,
                     const std::string& baseName, const Lines& source) {
    writeSourceFile(mainDirectory / (baseName + ".COS"), source);
    SpriteDocument sprites;
    SpriteFilePictures pictures(sprites);
    const CompiledObject object = compileSource(lineViews(source), {imagePath, pictures});
    writeCobFile(mainDirectory / (baseName + ".COB"), object.cob);
}

}  // namespace

void writeDemoObjects(const DemoLayout& layout) {
    const GamePaths paths = gamePathsUnder(layout.gameDirectory());
    fs::create_directories(pathFromUtf8(paths.CImagePath));

    std::vector<SpriteImage> top;
    for (int frame = 0; frame < 4; ++frame) top.push_back(spinningTopFrame(frame));
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "vtop.spr"), top);
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "vbal.spr"),
                    std::vector<SpriteImage>{ballFrame(0), ballFrame(1)});
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "heat.spr"),
                    std::vector<SpriteImage>{heaterFrame()});
    const std::uint8_t dark = paletteCube(1, 1, 1);
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "vlft.spr"),
                    std::vector<SpriteImage>{framedBox(40, 48, paletteCube(4, 4, 3), dark)});
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "vbtn.spr"),
                    std::vector<SpriteImage>{framedBox(12, 12, paletteCube(3, 0, 0), dark),
                                             framedBox(12, 12, paletteCube(5, 1, 1), dark)});
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "vcar.spr"),
                    std::vector<SpriteImage>{framedBox(64, 32, paletteCube(0, 3, 1), dark)});
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "vmil.spr"),
                    std::vector<SpriteImage>{framedBox(40, 40, paletteCube(4, 2, 1), dark),
                                             framedBox(32, 16, paletteCube(5, 5, 4), dark)});
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "vblk.spr"),
                    std::vector<SpriteImage>{blockFrame(0), blockFrame(1)});

    const fs::path mainDirectory = pathFromUtf8(paths.CMainPath);
    writeDemoObject(mainDirectory, paths.CImagePath, "SPTOP", spinningTopSource());
    writeDemoObject(mainDirectory, paths.CImagePath, "BALL", ballSource());
    writeDemoObject(mainDirectory, paths.CImagePath, "HEATER", heaterSource());
    writeDemoObject(mainDirectory, paths.CImagePath, "LIFT", liftSource());
    writeDemoObject(mainDirectory, paths.CImagePath, "CAR", carSource());
    writeDemoObject(mainDirectory, paths.CImagePath, "MILL", millSource());
    writeDemoObject(mainDirectory, paths.CImagePath, "BLOCK", blockSource());

    writeMacroFiles(layout, macroFiles());
}

void writeMacroFiles(const DemoLayout& layout, std::span<const MacroFile> files) {
    const fs::path macros = layout.programDirectory() / "mac";
    fs::create_directories(macros);
    for (const MacroFile& file : files)
        writeFileAtomically(macros / file.name, joinCrLf(file.lines));
}

}  // namespace vek::demo
