#include <ostream>

#include "app/file_io.h"
#include "app/text_names.h"
#include "cli/palette_options.h"
#include "cli/verbs.h"
#include "sprites/picture_file.h"
#include "sprites/sprite_creator.h"
#include "sprites/sprite_merge.h"
#include "sprites/sprite_render.h"

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
        invocation.out << spriteListLine(k, table.entries[k]) << '\n';
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

int runExport(Invocation& invocation) {
    const ArgumentList args(restOf(invocation.args), {"--zoom", "--palette", "--background"});
    args.expectPositional(3, 3);
    const int zoom = parseIntArgument(args.option("--zoom").value_or("1"), "--zoom");
    if (!isValidZoom(zoom)) throw UsageError{"--zoom must be 1, 2, 4, 8 or 16"};
    const int index = parseIntArgument(args.positional()[1], "INDEX");
    const std::filesystem::path file = pathArgument(args, 0);
    refuseOutputOverInput(file, pathArgument(args, 2));
    const SpriteTable table = readSpriteTable(file, kMaxSpriteCount);
    if (table.count() == 0) {
        throw VekError(Msg::SpriteFileEmpty, ErrorDetail::ofFile(file));
    }
    if (index < 0 || static_cast<std::size_t>(index) >= table.count()) {
        throw UsageError{"INDEX must be between 0 and " +
                         std::to_string(static_cast<int>(table.count()) - 1)};
    }
    const SpriteImage sprite = readSprite(file, table.entries[static_cast<std::size_t>(index)]);
    const PaletteTable palette = paletteOption(invocation, args, pathArgument(args, 2));
    const RgbImage area = renderDrawingArea(sprite, palette, zoom, palette.background());
    writePicture(pathArgument(args, 2), area);
    reportStream(invocation, args.positional()[2])
        << args.positional()[2] << ": " << area.width << " x " << area.height << '\n';
    return kSuccess;
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
    if (command == "palette") return runPalette(invocation);
    throw UsageError{"unknown sub-command " + command};
}

}  // namespace

Verb sprVerb() {
    return {
        "spr", "list, create, merge and export sprite files",
        "usage: vek spr list FILE\n"
        "       vek spr create OUT N W H\n"
        "       vek spr merge OUT IN...\n"
        "       vek spr export FILE INDEX OUT.bmp [--zoom Z] [--palette PALETTE.DTA] [--background "
        "C]\n"
        "       vek spr palette OUT.bmp [--palette PALETTE.DTA] [--background C]\n"
        "list prints the sprite editor's line for each sprite (\"0   32X48\") and names entries\n"
        "whose pixels reach past the end of the file. create writes a file of N (at most 1000)\n"
        "empty sprites of W x H, merge one file holding the sprites of all inputs in\n"
        "order (at most 1001). export writes sprite INDEX as the editor's drawing area shows it\n"
        "(zoom 1, 2, 4, 8 or 16), palette the editor's 320 x 80 palette area, both as bitmaps,\n"
        "or as PNG pictures when OUT ends in .png.\n"
        "A colour C is decimal or $ and hexadecimal, red in the low byte. Without --palette the\n"
        "game's palette is used, without --background the SBGC setting of VEK.INI.\n",
        runSprites};
}

}  // namespace vek::cli
