#include "objects/sprite_file_pictures.h"

#include "app/file_io.h"
#include "objects/cob_data.h"

namespace vek {

void throwNoSuchSprite(const std::string& file, int position, std::size_t count) {
    const std::string number = std::to_string(position);
    const std::string held = std::to_string(count);
    throw ObjectLimitError("The sprite file " + file + " has no sprite " + number + " (it holds " +
                               held + ", counted from 0).",
                           "Die Sprite Datei " + file + " hat kein Sprite " + number +
                               " (sie hat " + held + ", gezaehlt ab 0).");
}

void SpriteFilePictures::openSpriteFileByName(const std::string& path) {
    m_table = readSpriteTable(pathFromUtf8(path));
}

void SpriteFilePictures::selectSprite(int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= m_table.count()) {
        throwNoSuchSprite(pathToUtf8(m_table.file), position, m_table.count());
    }
    m_sprite = readSprite(m_table.file, m_table.entries[static_cast<std::size_t>(position)]);
}

SpriteImage SpriteFilePictures::currentSprite() const { return m_sprite.value_or(SpriteImage{}); }

}  // namespace vek
