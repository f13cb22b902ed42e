#pragma once

#include <optional>

#include "objects/picture_source.h"

namespace vek {

// Pictures straight from sprite files, for compiling without the sprite editor.
class SpriteFilePictures : public PictureSource {
  public:
    void openSpriteFileByName(const std::string& path) override;
    void selectSprite(int position) override;
    bool spriteLoaded() const override { return m_sprite.has_value(); }
    SpriteImage currentSprite() const override;

  private:
    SpriteTable m_table;
    std::optional<SpriteImage> m_sprite;
};

// The refusal when a sprite file has no sprite at a position, in both languages.
[[noreturn]] void throwNoSuchSprite(const std::string& file, int position, std::size_t count);

}  // namespace vek
