#include "sprites/sprite_palette.h"

#include <system_error>

#include "app/file_lookup.h"

namespace vek {

std::optional<std::filesystem::path> paletteBeside(const std::filesystem::path& spriteFile) {
    const std::filesystem::path found =
        findIgnoringCase(spriteFile.parent_path(), kPaletteFileName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(found, error)) return std::nullopt;
    return found;
}

PaletteTable paletteForSpriteFile(const std::filesystem::path& spriteFile,
                                  const PaletteTable& game) {
    if (const auto beside = paletteBeside(spriteFile))
        return readPaletteFile(*beside, game.background());
    return game;
}

}  // namespace vek
