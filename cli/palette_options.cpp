#include "cli/palette_options.h"

#include "app/file_io.h"
#include "app/settings.h"
#include "app/vek_error.h"

namespace vek::cli {

ScreenColor backgroundOption(const ArgumentList& args) {
    if (auto given = args.option("--background")) {
        try {
            return parseColorValue(*given);
        } catch (const VekError& error) {
            throw UsageError{"--background: " + commandLineMessage(error)};
        }
    }
    const std::string stored = VekIni(defaultVekIniPath()).read("Color", "SBGC", "$FFFFFF");
    try {
        return parseColorValue(stored);
    } catch (const VekError&) {
        return 0xFFFFFF;
    }
}

PaletteTable paletteOption(Invocation& invocation, const ArgumentList& args,
                           const std::filesystem::path& output) {
    const ScreenColor background = backgroundOption(args);
    if (auto file = args.option("--palette")) {
        refuseOutputOverInput(pathFromUtf8(*file), output);
        return readPaletteFile(pathFromUtf8(*file), background);
    }
    const std::string& directory = invocation.gamePaths().CPalettePath;
    knownGameFolder(directory, kGamePathValueNames[6]);  // never a palette.dta found here by chance
    return readGamePalette(directory, background);
}

}  // namespace vek::cli
