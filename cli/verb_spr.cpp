#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/file_io.h"
#include "app/text_names.h"
#include "cli/palette_options.h"
#include "cli/verbs.h"
#include "language/animation.h"
#include "sprites/gif.h"
#include "sprites/picture_file.h"
#include "sprites/sprite_creator.h"
#include "sprites/sprite_frames.h"
#include "sprites/sprite_merge.h"
#include "sprites/sprite_pictures.h"
#include "sprites/sprite_render.h"
#include "sprites/sprite_resize.h"

namespace vek::cli {

namespace {

std::filesystem::path pathArgument(const ArgumentList& args, std::size_t index) {
    return pathFromUtf8(args.positional()[index]);
}

// The arguments after the sub-command.
std::vector<std::string> restOf(const std::vector<std::string>& args) {
    return {args.begin() + 1, args.end()};
}

int runList(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {});
    args.expectPositional(1, 1);
    const SpriteTable table = readSpriteTable(pathArgument(args, 0));
    for (std::size_t k = 0; k < table.count(); ++k)
        invocation.lines() << spriteListLine(k, table.entries[k]) << '\n';
    const std::vector<std::size_t> damaged = damagedEntries(table);
    if (damaged.empty()) return kSuccess;
    invocation.err << "vek: " << args.positional()[0] << ": damaged, the pixels reach past the end "
                   << "of the file:";
    for (const std::size_t k : damaged) invocation.err << ' ' << k;
    invocation.err << '\n';
    return kFailed;
}

int runCreate(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {});
    args.expectPositional(4, 4);
    const auto& given = args.positional();
    // A value that is no number is a slip of the command line, not a refusal of the file.
    const char* const names[] = {"N", "W", "H"};
    for (std::size_t k = 1; k <= 3; ++k) {
        try {
            parseDecimalField(given[k]);
        } catch (const VekError& error) {
            throw UsageError{std::string(names[k - 1]) + ": " + commandLineMessage(error)};
        }
    }
    const UniformSpriteFile layout = creatorLayout(given[1], given[2], given[3]);
    writeUniformSpriteFile(pathArgument(args, 0), layout);
    reportStream(invocation, given[0]) << given[0] << ": " << layout.count << " sprites of "
                                       << layout.width << "X" << layout.height << '\n';
    return kSuccess;
}

int runMerge(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {});
    args.expectPositional(2, kMergeListCapacity + 1);
    std::vector<std::filesystem::path> inputs;
    for (std::size_t i = 1; i < args.positional().size(); ++i) {
        inputs.push_back(pathArgument(args, i));
        refuseOutputOverInput(inputs.back(), pathArgument(args, 0));
    }
    const std::vector<MergeEntry> list = buildMergeList(inputs);
    writeMergedFile(pathArgument(args, 0), list);
    reportStream(invocation, args.positional()[0])
        << args.positional()[0] << ": " << list.size() << " sprites\n";
    return kSuccess;
}

// The table of a sprite file that a verb exports from: it must hold a sprite.
SpriteTable exportedTable(const std::filesystem::path& file) {
    SpriteTable table = readSpriteTable(file, kMaxSpriteCount);
    if (table.count() == 0) throw VekError(Msg::SpriteFileEmpty, ErrorDetail::ofFile(file));
    return table;
}

// A sprite number of the command line, checked against the file's count.
std::size_t spriteNumber(std::string_view text, std::string_view what, const SpriteTable& table) {
    const int index = parseIntArgument(text, what);
    if (index < 0 || static_cast<std::size_t>(index) >= table.count()) {
        throw UsageError{std::string(what) + " must be between 0 and " +
                         std::to_string(static_cast<int>(table.count()) - 1)};
    }
    return static_cast<std::size_t>(index);
}

// INDEX as A-B: sprites A to B as indexed PNG pictures, OUT-A.png … OUT-B.png, or with --sheet
// one sheet in OUT.
int runRangeExport(Invocation& invocation, const ArgumentList& args, std::string_view range) {
    if (!args.flag("--indexed") || args.option("--zoom") || args.option("--background"))
        throw UsageError{
            "a range A-B is written as --indexed PNG pictures: no --zoom or --background"};
    const std::filesystem::path out = pathArgument(args, 2);
    if (!isPngName(out)) throw UsageError{"--indexed writes PNG pictures: OUT must end in .png"};
    const std::filesystem::path file = pathArgument(args, 0);
    refuseOutputOverInput(file, out);
    const SpriteTable table = exportedTable(file);
    const std::size_t dash = range.find('-');
    const std::size_t from = spriteNumber(range.substr(0, dash), "INDEX A", table);
    const std::size_t to = spriteNumber(range.substr(dash + 1), "INDEX B", table);
    if (to < from) throw UsageError{"INDEX A-B must not run backwards"};
    SpriteList sprites;
    for (std::size_t k = from; k <= to; ++k) sprites.push_back(readSprite(file, table.entries[k]));
    const PaletteTable palette = paletteOption(invocation, args, out);
    std::ostream& report = reportStream(invocation, args.positional()[2]);
    if (args.flag("--sheet")) {
        const SpriteImage sheet = spriteSheet(sprites);
        writeSpritePng(out, sheet, palette);
        report << args.positional()[2] << ": " << sheet.width << " x " << sheet.height << ", "
               << sprites.size() << " sprites, indexed\n";
        return kSuccess;
    }
    for (std::size_t k = from; k <= to; ++k) {
        const std::filesystem::path picture = numberedPictureFile(out, k);
        refuseOutputOverInput(file, picture);
        writeSpritePng(picture, sprites[k - from], palette);
        report << pathToUtf8(picture) << ": " << sprites[k - from].width << " x "
               << sprites[k - from].height << ", indexed\n";
    }
    return kSuccess;
}

int runExport(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {"--zoom", "--palette", "--background"},
                            {"--indexed", "--sheet"});
    args.expectPositional(3, 3);
    const std::string_view number = args.positional()[1];
    if (number.find('-', 1) != std::string_view::npos)
        return runRangeExport(invocation, args, number);
    if (args.flag("--sheet")) throw UsageError{"--sheet needs a range INDEX A-B"};
    const bool indexed = args.flag("--indexed");
    if (indexed && args.option("--zoom"))
        throw UsageError{"--indexed writes the sprite at its real size: no --zoom"};
    if (indexed && !isPngName(pathArgument(args, 2)))
        throw UsageError{"--indexed writes a PNG picture: OUT must end in .png"};
    const int zoom = parseIntArgument(args.option("--zoom").value_or("1"), "--zoom");
    if (!isValidZoom(zoom)) throw UsageError{"--zoom must be 1, 2, 4, 8 or 16"};
    const std::filesystem::path file = pathArgument(args, 0);
    refuseOutputOverInput(file, pathArgument(args, 2));
    const SpriteTable table = exportedTable(file);
    const std::size_t index = spriteNumber(args.positional()[1], "INDEX", table);
    const SpriteImage sprite = readSprite(file, table.entries[index]);
    const PaletteTable palette = paletteOption(invocation, args, pathArgument(args, 2));
    std::ostream& report = reportStream(invocation, args.positional()[2]);
    if (indexed) {
        writeSpritePng(pathArgument(args, 2), sprite, palette);
        report << args.positional()[2] << ": " << sprite.width << " x " << sprite.height
               << ", indexed\n";
        return kSuccess;
    }
    const RgbImage area = renderDrawingArea(sprite, palette, zoom, palette.background());
    writePicture(pathArgument(args, 2), area);
    report << args.positional()[2] << ": " << area.width << " x " << area.height << '\n';
    return kSuccess;
}

// The sprites an animated GIF shows, in order, and whether it repeats: all of them by default,
// --frames A-B, or --anim "[12321R]" counted from --first N.
std::vector<std::size_t> gifFrames(const ArgumentList& args, const SpriteTable& table,
                                   bool& loops) {
    const auto frames = args.option("--frames");
    const auto anim = args.option("--anim");
    if (frames && anim) throw UsageError{"--frames and --anim exclude each other"};
    if (!anim && args.option("--first")) throw UsageError{"--first counts --anim's frames"};
    std::vector<std::size_t> list;
    loops = true;
    if (anim) {
        const Animation animation = readAnimation(*anim);
        if (!animation.wellFormed() || animation.frames.empty())
            throw UsageError{"--anim must be digits, perhaps ending in R: " + *anim};
        const std::size_t first =
            spriteNumber(args.option("--first").value_or("0"), "--first", table);
        for (const int pose : animation.frames) {
            if (first + static_cast<std::size_t>(pose) >= table.count())
                throw UsageError{"--anim frame " + std::to_string(pose) + " from --first " +
                                 std::to_string(first) + " is beyond the file's " +
                                 std::to_string(table.count()) + " sprites"};
            list.push_back(first + static_cast<std::size_t>(pose));
        }
        loops = animation.repeats;
        return list;
    }
    std::size_t from = 0;
    std::size_t to = table.count() - 1;
    if (frames) {
        const std::size_t dash = frames->find('-');
        if (dash == std::string::npos) throw UsageError{"--frames must be A-B"};
        from = spriteNumber(frames->substr(0, dash), "--frames A", table);
        to = spriteNumber(frames->substr(dash + 1), "--frames B", table);
        if (to < from) throw UsageError{"--frames A-B must not run backwards"};
    }
    for (std::size_t k = from; k <= to; ++k) list.push_back(k);
    return list;
}

int runGif(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args),
                            {"--frames", "--anim", "--first", "--palette", "--background"});
    args.expectPositional(2, 2);
    const std::filesystem::path file = pathArgument(args, 0);
    refuseOutputOverInput(file, pathArgument(args, 1));
    const SpriteTable table = exportedTable(file);
    bool loops = true;
    const std::vector<std::size_t> numbers = gifFrames(args, table, loops);
    std::vector<SpriteImage> frames;
    for (const std::size_t k : numbers) frames.push_back(readSprite(file, table.entries[k]));
    const PaletteTable palette = paletteOption(invocation, args, pathArgument(args, 1));
    writeSpriteGif(pathArgument(args, 1), frames, palette, loops);
    reportStream(invocation, args.positional()[1])
        << args.positional()[1] << ": " << frames.size() << " frames"
        << (loops ? ", repeating" : "") << '\n';
    return kSuccess;
}

// A number of the command line that counts sprites or pixels: never negative.
std::size_t countArgument(const ArgumentList& args, std::size_t index, std::string_view what) {
    const int value = parseIntArgument(args.positional()[index], what);
    if (value < 0) throw UsageError{std::string(what) + " must not be negative"};
    return static_cast<std::size_t>(value);
}

// Rewrites FILE by `edit` into the -o file, or over FILE itself through the same safe
// whole-file write as every other, and reports the new count.
int rewriteFrames(Invocation& invocation, const ArgumentList& args,
                  const std::function<void(SpriteList&)>& edit) {
    const std::filesystem::path input = pathArgument(args, 0);
    const std::string output = args.option("-o").value_or(args.positional()[0]);
    std::size_t count = 0;
    rewriteSpriteFile(input, pathFromUtf8(output), [&edit, &count](SpriteList& sprites) {
        edit(sprites);
        count = sprites.size();
    });
    reportStream(invocation, output) << output << ": " << count << " sprites\n";
    return kSuccess;
}

int runInsert(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {"-o"});
    args.expectPositional(4, 4);
    const std::size_t at = countArgument(args, 1, "AT");
    const UniformSpriteFile size =
        checkUniformSpriteFile(1, static_cast<std::int64_t>(countArgument(args, 2, "W")),
                               static_cast<std::int64_t>(countArgument(args, 3, "H")));
    return rewriteFrames(invocation, args, [at, &size](SpriteList& sprites) {
        insertSprite(sprites, at,
                     SpriteImage(static_cast<std::uint16_t>(size.width),
                                 static_cast<std::uint16_t>(size.height)));
    });
}

int runDelete(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {"-o"});
    args.expectPositional(2, 2);
    const std::size_t index = countArgument(args, 1, "INDEX");
    return rewriteFrames(invocation, args,
                         [index](SpriteList& sprites) { deleteSprite(sprites, index); });
}

int runMove(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {"-o"});
    args.expectPositional(3, 3);
    const std::size_t from = countArgument(args, 1, "FROM");
    const std::size_t to = countArgument(args, 2, "TO");
    return rewriteFrames(invocation, args,
                         [from, to](SpriteList& sprites) { moveSprite(sprites, from, to); });
}

// The canvas anchored top left unless told otherwise, or with --scale the picture stretched.
int runResize(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {"-o", "--anchor"}, {"--scale"});
    args.expectPositional(4, 4);
    const std::size_t index = countArgument(args, 1, "INDEX");
    const UniformSpriteFile size =
        checkUniformSpriteFile(1, static_cast<std::int64_t>(countArgument(args, 2, "W")),
                               static_cast<std::int64_t>(countArgument(args, 3, "H")));
    const bool scale = args.flag("--scale");
    if (scale && args.option("--anchor"))
        throw UsageError{"--scale stretches the sprite: no --anchor"};
    const auto anchor = resizeAnchorNamed(args.option("--anchor").value_or("top-left"));
    if (!anchor) {
        throw UsageError{
            "--anchor must be top-left, top, top-right, left, center, right, bottom-left, bottom "
            "or bottom-right"};
    }
    const SpriteResize resize{
        {static_cast<int>(size.width), static_cast<int>(size.height)}, scale, *anchor, {}};
    return rewriteFrames(invocation, args, [&](SpriteList& sprites) {
        replaceSprite(sprites, index, resizeSprite(spriteAt(sprites, index), resize));
    });
}

int runImport(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {"-o", "--palette", "--background"});
    args.expectPositional(3, 3);
    const std::size_t at = countArgument(args, 1, "AT");
    const PaletteTable palette = paletteOption(
        invocation, args, pathFromUtf8(args.option("-o").value_or(args.positional()[0])));
    const std::vector<SpriteImage> imported = readSpritePictures(pathArgument(args, 2), palette);
    return rewriteFrames(invocation, args, [at, &imported](SpriteList& sprites) {
        for (std::size_t k = 0; k < imported.size(); ++k)
            insertSprite(sprites, at + k, imported[k]);
    });
}

int runPalette(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {"--palette", "--background"});
    args.expectPositional(1, 1);
    const std::filesystem::path output = pathArgument(args, 0);
    writePicture(output, renderPaletteArea(paletteOption(invocation, args, output)));
    reportStream(invocation, args.positional()[0])
        << args.positional()[0] << ": " << kPaletteAreaWidth << " x " << kPaletteAreaHeight << '\n';
    return kSuccess;
}

int runSprites(Invocation& invocation) {
    if (invocation.args.empty()) throw UsageError{"missing sub-command"};
    const std::string& command = invocation.args.front();
    if (command == "list") return runList(invocation);
    if (command == "create") return runCreate(invocation);
    if (command == "merge") return runMerge(invocation);
    if (command == "export") return runExport(invocation);
    if (command == "gif") return runGif(invocation);
    if (command == "import") return runImport(invocation);
    if (command == "palette") return runPalette(invocation);
    if (command == "insert") return runInsert(invocation);
    if (command == "delete") return runDelete(invocation);
    if (command == "move") return runMove(invocation);
    if (command == "resize") return runResize(invocation);
    throw UsageError{"unknown sub-command " + command};
}

}  // namespace

Verb sprVerb() {
    return {
        "spr", "list, create, merge, edit and export sprite files",
        "usage: vek spr list FILE\n"
        "       vek spr create OUT N W H\n"
        "       vek spr merge OUT IN...\n"
        "       vek spr export FILE INDEX OUT.bmp [--zoom Z] [--palette PALETTE.DTA] [--background "
        "C]\n"
        "       vek spr export FILE INDEX OUT.png --indexed [--palette PALETTE.DTA]\n"
        "       vek spr export FILE A-B OUT.png --indexed [--sheet] [--palette PALETTE.DTA]\n"
        "       vek spr gif FILE OUT.gif [--frames A-B | --anim \"[12321R]\" [--first N]]\n"
        "       vek spr import FILE AT PICTURE.png|PICTURE.gif|PICTURE.bmp [-o OUT]\n"
        "       vek spr palette OUT.bmp [--palette PALETTE.DTA] [--background C]\n"
        "       vek spr insert FILE AT W H [-o OUT]\n"
        "       vek spr delete FILE INDEX [-o OUT]\n"
        "       vek spr move FILE FROM TO [-o OUT]\n"
        "       vek spr resize FILE INDEX W H [--scale] [--anchor A] [-o OUT]\n"
        "list prints the sprite editor's line for each sprite (\"0   32X48\") and names entries\n"
        "whose pixels reach past the end of the file. create writes a file of N (at most 1000)\n"
        "empty sprites of W x H, merge one file holding the sprites of all inputs in\n"
        "order (at most 1001). export writes sprite INDEX as the editor's drawing area shows it\n"
        "(zoom 1, 2, 4, 8 or 16), palette the editor's 320 x 80 palette area, both as bitmaps,\n"
        "or as PNG pictures when OUT ends in .png; with --indexed the PNG is the sprite at its\n"
        "real size in the palette's indices, index 0 transparent. A range A-B writes sprites A\n"
        "to B so, one file each (OUT-A.png ... OUT-B.png) or with --sheet one sheet in OUT: a\n"
        "grid of cells as large as the largest sprite, row by row.\n"
        "gif writes sprites as an animated GIF at 10 frames a second, index 0 transparent: all\n"
        "sprites, A to B, or an animation string's frames counted from sprite N (repeating only\n"
        "when it ends in R). import inserts a picture's sprite (every frame of a GIF) as number\n"
        "AT: indices stay where the picture's colour table is the palette, other colours are\n"
        "matched, transparent pixels become index 0.\n"
        "insert adds an empty sprite of W x H as number AT (AT may be the count: at the end),\n"
        "delete removes sprite INDEX, move takes sprite FROM to number TO, resize gives sprite\n"
        "INDEX a canvas of W x H (new pixels index 0) laid at anchor A (top-left, top, top-right,\n"
        "left, center, right, bottom-left, bottom, bottom-right; top-left unless given) or with\n"
        "--scale stretches it to W x H (nearest pixel); each writes the whole file anew, to OUT\n"
        "or, without -o, safely over FILE, and keeps at most 1000 sprites.\n"
        "A colour C is decimal or $ and hexadecimal, red in the low byte. Without --palette the\n"
        "game's palette is used, without --background the SBGC setting of VEK.INI.\n",
        runSprites};
}

}  // namespace vek::cli
