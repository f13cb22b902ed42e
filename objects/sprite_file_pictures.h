#pragma once

#include "objects/picture_source.h"
#include "sprites/sprite_document.h"

namespace vek {

// A sprite document as the object compiler's picture source. In the application it is the
// sprite editor's document, so a "sprite" line leaves its file open in the editor and Get takes
// the sprite as it is drawn there, unsaved painting included.
class SpriteFilePictures : public PictureSource {
  public:
    explicit SpriteFilePictures(SpriteDocument& document) : m_document(document) {}

    void openSpriteFileByName(const std::string& path) override;
    void selectSprite(int position) override;
    bool spriteLoaded() const override { return m_document.spriteLoaded(); }
    SpriteImage currentSprite() const override { return m_document.sprite(); }
    std::optional<SpriteImage> drawnSprite(const std::filesystem::path& file,
                                           std::size_t position) const override;

  private:
    SpriteDocument& m_document;
};

}  // namespace vek
