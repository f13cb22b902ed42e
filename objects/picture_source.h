#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "sprites/sprite_file.h"

namespace vek {

// Where the object compiler takes pictures from: the sprite editor's document in the
// application, a sprite document of its own on the command line.
class PictureSource {
  public:
    virtual ~PictureSource() = default;

    // Opens a sprite file by its full path, without a dialog; a file that cannot be read throws.
    virtual void openSpriteFileByName(const std::string& path) = 0;
    // Selects the sprite at a list position (0 is the first); one the file lacks throws.
    virtual void selectSprite(int position) = 0;
    // Whether a sprite has been selected, so that there is a picture to take.
    virtual bool spriteLoaded() const = 0;
    // The selected sprite as it is drawn at this moment, rows top-down.
    virtual SpriteImage currentSprite() const = 0;
    // The sprite at `position` of `file` as it is drawn at this moment, when it is the one open
    // for painting (unsaved painting included); nothing for any other, which reads as saved.
    virtual std::optional<SpriteImage> drawnSprite(const std::filesystem::path& /*file*/,
                                                   std::size_t /*position*/) const {
        return std::nullopt;
    }
};

}  // namespace vek
