#include "objects/sprite_file_pictures.h"

#include "app/file_io.h"

namespace vek {

void SpriteFilePictures::openSpriteFileByName(const std::string& path) {
    m_document.open(pathFromUtf8(path));
}

void SpriteFilePictures::selectSprite(int position) { m_document.select(position); }

}  // namespace vek
