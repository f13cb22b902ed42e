#include <ostream>

#include "app/file_io.h"
#include "cli/palette_options.h"
#include "cli/verbs.h"
#include "objects/object_thumbnail.h"
#include "sprites/bitmap_converter.h"
#include "sprites/palette.h"
#include "sprites/picture_file.h"
#include "sprites/png.h"
#include "sprites/thumbnail.h"
#include "world/map_raster.h"

namespace vek::cli {

namespace {

ColorMatchLevel matchLevel(const ArgumentList& args) {
    const std::string level = args.option("--level").value_or("best");
    if (level == "best") return ColorMatchLevel::Best;
    if (level == "good") return ColorMatchLevel::Good;
    if (level == "bad") return ColorMatchLevel::Bad;
    if (level == "poor") return ColorMatchLevel::VeryPoor;
    throw UsageError{"--level must be best, good, bad or poor, not '" + level + "'"};
}

int runBitmapToSprite(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"--level", "--palette", "--background"});
    args.expectPositional(2, 2);
    refuseOutputOverInput(pathFromUtf8(args.positional()[0]), pathFromUtf8(args.positional()[1]));
    const ColorMatchLevel level = matchLevel(args);
    const PaletteTable palette =
        paletteOption(invocation, args, pathFromUtf8(args.positional()[1]));
    RgbImage picture = readPicture(pathFromUtf8(args.positional()[0]), palette.background());
    const SpriteImage sprite = convertPicture(picture, palette, level);
    writeConvertedSprite(pathFromUtf8(args.positional()[1]), sprite);
    reportStream(invocation, args.positional()[1])
        << args.positional()[1] << ": 1 sprite of " << sprite.width << " x " << sprite.height
        << "\n";
    return kSuccess;
}

int runMap(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"--back", "--palette", "--background"});
    args.expectPositional(1, 1);
    std::filesystem::path back;
    if (const auto given = args.option("--back")) {
        back = pathFromUtf8(*given);
    } else {
        const std::string& images = invocation.gamePaths().CImagePath;
        back = backSpritePath(pathToUtf8(knownGameFolder(images, kGamePathValueNames[3])));
    }
    refuseOutputOverInput(back, pathFromUtf8(args.positional()[0]));
    const PaletteTable palette =
        paletteOption(invocation, args, pathFromUtf8(args.positional()[0]));
    RgbImage map;
    drawMap(back, palette, map);
    writePicture(pathFromUtf8(args.positional()[0]), map);
    reportStream(invocation, args.positional()[0])
        << args.positional()[0] << ": map of " << map.width << " x " << map.height << "\n";
    return kSuccess;
}

// --palette, else the game's palette where the game is found, else the neutral one.
PaletteTable thumbnailPalette(Invocation& invocation, const ArgumentList& args,
                              const std::filesystem::path& output) {
    if (args.option("--palette")) return paletteOption(invocation, args, output);
    const std::string& directory = invocation.gamePaths().CPalettePath;
    std::error_code error;
    if (!directory.empty() && std::filesystem::exists(paletteFilePath(directory), error))
        return paletteOption(invocation, args, output);
    return neutralPalette(backgroundOption(args));
}

int runThumbnail(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"--palette", "--background"});
    args.expectPositional(2, 3);
    const auto& positional = args.positional();
    const int size = positional.size() > 2 ? parseIntArgument(positional[2], "SIZE") : 128;
    // A size outside the range is wrong usage, however many digits it has.
    try {
        requireThumbnailSize(size);
    } catch (const VekError& error) {
        throw UsageError{std::string(error.englishText())};
    }
    const std::filesystem::path input = pathFromUtf8(positional[0]);
    const std::filesystem::path output = pathFromUtf8(positional[1]);
    refuseOutputOverInput(input, output);
    const PaletteTable palette = thumbnailPalette(invocation, args, output);
    const RgbImage thumbnail = fileThumbnail(input, palette, size);
    writeFileAtomically(output, encodePng(thumbnail));
    return kSuccess;
}

}  // namespace

Verb thumbnailVerb() {
    return {"thumbnail", "draw a sprite or object file's thumbnail as a PNG picture",
            "usage: vek thumbnail IN.spr|IN.cob|IN.rcb OUT.png [SIZE] [--palette PALETTE.DTA]\n"
            "                     [--background C]\n"
            "Draws the first sprite of a sprite file (a sheet of its first four when it holds\n"
            "more) or an object file's picture, scaled so that its longer side is SIZE pixels\n"
            "(default 128, at most 1024), and writes it as a PNG picture. The palette is\n"
            "--palette, else the game's palette.dta when the game is found, else a grey ramp;\n"
            "the background (palette slot 0) as for bmp2spr. File managers call this verb\n"
            "for their previews.\n",
            runThumbnail};
}

Verb bmp2sprVerb() {
    return {"bmp2spr", "convert a bitmap into a sprite file of one sprite",
            "usage: vek bmp2spr IN.bmp|IN.png OUT.spr [--level best|good|bad|poor]\n"
            "                   [--palette PALETTE.DTA] [--background C]\n"
            "Matches every pixel of the bitmap or PNG picture (alpha below 128 counts as the\n"
            "background colour) to the game's palette as the converter window's\n"
            "Save as SPR does (default level best) and writes a sprite file of one sprite.\n"
            "The palette defaults to the game's palette.dta, the background colour (palette\n"
            "slot 0) to VEK.INI's SBGC; C is decimal or $ and hexadecimal, red in the low byte.\n",
            runBitmapToSprite};
}

Verb mapVerb() {
    return {"map", "draw the map of Albia from back.spr into a bitmap",
            "usage: vek map OUT.bmp [--back BACK.SPR] [--palette PALETTE.DTA] [--background C]\n"
            "Draws the 2088 x 288 map of the world as the map window does, from the game's\n"
            "back.spr (or BACK.SPR), and writes it as a 24-bit bitmap (PNG when OUT ends in\n"
            ".png). Palette and background\n"
            "as for bmp2spr. A back.spr shorter than its 464 tiles fails and writes nothing.\n",
            runMap};
}

}  // namespace vek::cli
