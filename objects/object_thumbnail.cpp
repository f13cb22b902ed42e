#include "objects/object_thumbnail.h"

#include "objects/cob_data.h"
#include "sprites/thumbnail.h"

namespace vek {

RgbImage fileThumbnail(const std::filesystem::path& file, const PaletteTable& palette, int size) {
    if (!isObjectFileName(file)) return spriteFileThumbnail(file, palette, size);
    requireThumbnailSize(size);
    return fitThumbnail(renderCobPicture(readCobFile(file), palette), size);
}

}  // namespace vek
