#include "objects/source_picture.h"

#include <algorithm>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "objects/source_lines.h"

namespace vek {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::size_t kMaxNameStem = 64;

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

// A stem that is safe as a file name on every system: other characters become '_'.
std::string safeStem(std::string_view text) {
    std::string stem(text.substr(0, kMaxNameStem));
    std::replace_if(
        stem.begin(), stem.end(), [](char c) { return !isNameCharacter(c); }, '_');
    return stem;
}

std::string_view stemOf(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

// A picture's image top-down, as a sprite file holds it.
SpriteImage imageOf(const CobData& cob) {
    if (cob.pictureWidth > static_cast<std::int32_t>(kMaxSpriteSide) ||
        cob.pictureHeight > static_cast<std::int32_t>(kMaxSpriteSide)) {
        const std::string size =
            std::to_string(cob.pictureWidth) + " x " + std::to_string(cob.pictureHeight);
        throw VekError(fill(Msg::PictureTooLargeForSpriteFile, {size}));
    }
    SpriteImage image(static_cast<std::uint16_t>(cob.pictureWidth),
                      static_cast<std::uint16_t>(cob.pictureHeight));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) image.at(x, y) = cobPixel(cob, x, y);
    return image;
}

bool namesAFolder(std::string_view name) {
    return name.find_first_of("/\\:") != std::string_view::npos || name == "." || name == "..";
}

}  // namespace

std::optional<std::string> pictureFileNameOf(const CobData& cob, std::string_view objectFileName,
                                             std::string_view objectName) {
    if (cob.pictureWidth == 0 && cob.pictureHeight == 0) return std::nullopt;
    std::string stem = safeStem(stemOf(objectFileName));
    if (stem.empty()) stem = safeStem(objectName);
    if (stem.empty()) stem = std::string(kPictureKeyword);
    return stem + ".spr";
}

std::optional<SourcePicture> sourcePictureOf(const CobData& cob, std::string_view objectFileName,
                                             std::string_view objectName) {
    std::optional<std::string> name = pictureFileNameOf(cob, objectFileName, objectName);
    if (!name) return std::nullopt;
    return SourcePicture{std::move(*name), imageOf(cob)};
}

std::string pictureLine(std::string_view fileName) {
    return std::string(kPictureKeyword) + " " + std::string(fileName);
}

std::optional<std::string_view> pictureLineName(std::string_view line) {
    if (!line.starts_with(kPictureKeyword)) return std::nullopt;
    std::string_view rest = line.substr(kPictureKeyword.size());
    if (!rest.empty() && kBlanks.find(rest.front()) == std::string_view::npos) return std::nullopt;
    const std::size_t first = rest.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::string_view();
    return rest.substr(first, rest.find_last_not_of(kBlanks) - first + 1);
}

std::optional<std::string> pictureNameOfSource(std::string_view sourceText) {
    bool inSection = false;
    for (const std::string_view raw : splitLines(sourceText)) {
        const SourceLine line = readSourceLine(raw, inSection);
        if (line.kind == SourceLineKind::Outside) {
            if (const auto name = pictureLineName(line.text)) return std::string(*name);
        }
        inSection = sectionOpenAfter(line.kind, inSection);
    }
    return std::nullopt;
}

SpriteImage readNamedPicture(std::string_view fileName, const PictureFolder& where) {
    if (fileName.empty() || namesAFolder(fileName))
        throw VekError(fill(Msg::PictureNameNotPlain, {fileName}));
    if (where.kept && where.kept->fileName == fileName) return where.kept->image;
    if (where.sourceFolder.empty()) throw VekError(fill(Msg::PictureBesideNoSource, {fileName}));
    const std::filesystem::path file = findIgnoringCase(where.sourceFolder, fileName);
    return readingFile(file, [&] {
        SpriteFile sprites(file);
        const std::vector<SpriteEntry> table = sprites.readTable(kMaxSpriteCount);
        if (table.empty()) throw VekError(Msg::PictureFileEmpty, ErrorDetail::ofFile(file));
        return sprites.readSprite(table.front());
    });
}

std::filesystem::path folderOfSource(const std::filesystem::path& sourceFile) {
    const std::filesystem::path folder = sourceFile.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

void writePictureFile(const std::filesystem::path& file, const SpriteImage& image) {
    writeSpriteFile(file, std::span(&image, 1));
}

}  // namespace vek
