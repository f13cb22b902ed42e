#include "sprites/picture_file.h"

#include <cctype>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "sprites/bitmap.h"
#include "sprites/png.h"

namespace vek {

bool isPngName(const std::filesystem::path& file) {
    std::string extension = pathToUtf8(file.extension());
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".png";
}

RgbImage readPicture(const std::filesystem::path& file, ScreenColor background) {
    return readingFile(file, [&] {
        const std::vector<std::uint8_t> bytes = readFileBytes(file);
        if (hasPngSignature(bytes) || isPngName(file)) return decodePng(bytes, background);
        return decodeBitmap(bytes);
    });
}

void writePicture(const std::filesystem::path& file, const RgbImage& image) {
    refuseEmptyPicture(file, image);
    writeFileAtomically(file, isPngName(file) ? encodePng(image) : encodeBitmap(image));
}

}  // namespace vek
