#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "objects/cob_data.h"
#include "sprites/sprite_file.h"

namespace vek {

// The object's picture as a source names it: a line "picture NAME.spr" outside every section,
// and a file of that name beside the source that holds the picture as its one sprite. The
// discompiler writes the line, so that compiling its source gives back the picture byte for byte.
inline constexpr std::string_view kPictureKeyword = "picture";

// A picture and the file name its "picture" line gives it, before it is written beside a source.
struct SourcePicture {
    std::string fileName;
    SpriteImage image;  // rows top-down, as the sprite file holds them

    bool operator==(const SourcePicture&) const = default;
};

// The file name an object's discompiled source gives its picture: none without a picture (0 x 0).
// The name follows the object file ("puppy.cob" gives "puppy.spr"), else the object's name,
// made of letters, digits, '-' and '_' alone.
std::optional<std::string> pictureFileNameOf(const CobData& cob, std::string_view objectFileName,
                                             std::string_view objectName);
// That name with the picture. A picture wider or higher than a sprite file holds (65535) is
// refused.
std::optional<SourcePicture> sourcePictureOf(const CobData& cob, std::string_view objectFileName,
                                             std::string_view objectName);

// The line that names the picture file.
std::string pictureLine(std::string_view fileName);
// The file name of a stripped source line if it is a "picture" line; none for any other line.
// The keyword stands alone or before a blank or tab; the name is what follows, stripped.
std::optional<std::string_view> pictureLineName(std::string_view line);
// The name the first "picture" line outside every section gives, if one does.
std::optional<std::string> pictureNameOfSource(std::string_view sourceText);

// Where a "picture" line finds its file: the folder of the source file (empty while the source is
// no file), or the picture the object compiler keeps until the source is saved.
struct PictureFolder {
    std::filesystem::path sourceFolder;
    const SourcePicture* kept = nullptr;
};
// The picture a "picture" line names. A name with a folder in it (a separator, "." or ".."),
// an empty name, a source that is no file yet, or a sprite file without a sprite is refused.
SpriteImage readNamedPicture(std::string_view fileName, const PictureFolder& where);

// The folder a source file lies in, where its picture lies: a bare name lies in the working one.
std::filesystem::path folderOfSource(const std::filesystem::path& sourceFile);

// Writes the picture as a one-sprite file.
void writePictureFile(const std::filesystem::path& file, const SpriteImage& image);

}  // namespace vek
