#include "objects/object_thumbnail.h"

#include "objects/cob_data.h"
#include "sprites/thumbnail.h"

namespace vek {

RgbImage fileThumbnail(const std::filesystem::path& file, const PaletteTable& palette, int size) {
    if (!isObjectFileName(file)) return spriteFileThumbnail(file, palette, size);
    requireThumbnailSize(size);
    return readingFile(file, [&] {
        FileReader in(file, kMaxCobFileSize);
        const CobPictureLocation where = locateCobPicture(in);
        const StoredPicture picture{where.offset, static_cast<std::uint64_t>(where.width),
                                    static_cast<std::uint64_t>(where.height), true};
        return drawThumbnail(in, std::span(&picture, 1), palette, size);
    });
}

}  // namespace vek
