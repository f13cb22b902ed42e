#include "objects/sprite_file_pictures.h"

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

void SpriteFilePictures::openSpriteFileByName(const std::string& path) {
    if (!m_document.mayLeaveSprite()) {
        throw VekError(Msg::ChangedSpriteKept, ErrorDetail::ofFile(pathFromUtf8(path)));
    }
    m_document.open(pathFromUtf8(path));
}

void SpriteFilePictures::selectSprite(int position) { m_document.select(position); }

std::optional<SpriteImage> SpriteFilePictures::drawnSprite(const std::filesystem::path& file,
                                                           std::size_t position) const {
    if (m_document.current() != position) return std::nullopt;
    // The same file however its name is written.
    std::error_code error;
    if (!std::filesystem::equivalent(file, m_document.table().file, error)) return std::nullopt;
    return m_document.sprite();
}

}  // namespace vek
