#include "objects/sprite_file_pictures.h"

#include "app/file_io.h"
#include "app/vek_error.h"

namespace vek {

void SpriteFilePictures::openSpriteFileByName(const std::string& path) {
    if (!m_document.mayLeaveSprite()) {
        throw VekError("The changed sprite was kept; no other sprite file was opened.",
                       "Der veränderte Sprite wurde behalten; keine andere Sprite Datei wurde "
                       "geöffnet.",
                       ErrorDetail::ofFile(pathFromUtf8(path)));
    }
    m_document.open(pathFromUtf8(path));
}

void SpriteFilePictures::selectSprite(int position) { m_document.select(position); }

}  // namespace vek
