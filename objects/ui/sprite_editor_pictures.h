#pragma once

#include <memory>

#include "objects/picture_source.h"
#include "sprites/palette.h"

namespace vek::ui {

struct AppContext;

// The sprite editor as the object compiler's picture source: the sprite as it is drawn there
// at this moment, unsaved painting included.
std::unique_ptr<PictureSource> makeSpriteEditorPictures(const AppContext& context);

// The sprite editor's palette table (all black while there is no sprite editor).
PaletteTable spriteEditorPalette(const AppContext& context);

}  // namespace vek::ui
