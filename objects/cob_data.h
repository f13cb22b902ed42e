#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/byte_io.h"
#include "app/file_reader.h"
#include "app/messages.h"
#include "app/rgb_image.h"
#include "app/vek_error.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"

namespace vek {

// The one object the object compiler holds: header values, event scripts, installation routines
// ("imports"), the injector's picture and the object's name. Texts are UTF-8 in memory and
// stored in the Windows ANSI code page in the file.
struct CobData {
    std::int32_t items = 1;
    std::int32_t quantity = 0;
    std::int32_t timelimitMonth = 0;
    std::int32_t timelimitDay = 0;
    std::int32_t timelimitYear = 0;
    std::vector<std::string> scripts;  // each a whole macro text: scrp ...,endm
    std::vector<std::string> imports;  // each a whole macro text: inst ...,endm
    std::int32_t used = 0;
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;
    std::int32_t pictureWidthCopy = 0;        // kept as read, written back as it is
    std::vector<std::uint8_t> picturePixels;  // palette indices, rows bottom-up
    std::string name = "unknown";

    bool operator==(const CobData&) const = default;
};

// Room for entries 1 to 100 in each list; a stored text is at most 65535 bytes long.
inline constexpr std::size_t kMaxCobEntries = 100;
inline constexpr std::size_t kMaxCobStringLength = 65535;
// The largest file those limits allow (with a picture of at most kMaxSpritePixels): a larger one
// is refused before it is read.
inline constexpr std::uint64_t kMaxCobFileSize =
    26 + 2 * kMaxCobEntries * (3 + kMaxCobStringLength) + 10 + kMaxSpritePixels +
    (3 + kMaxCobStringLength) + 1;

// The file's text form: one length byte, or 255 and a 16-bit length from 255 bytes on. Works on
// the stored bytes; a text longer than 65535 bytes is refused, never cut.
struct CobString {
    static void write(ByteWriter& out, std::string_view bytes);
    static std::string read(ByteReader& in);
};

// The whole file. Encoding refuses more than 100 scripts or imports and texts that do not fit
// the 16-bit length; decoding refuses counts above 100, pictures the file cannot hold and the
// later games' files ("cob2", "PRAY"), naming what they are.
std::vector<std::uint8_t> encodeCob(const CobData& cob);
CobData decodeCob(std::span<const std::uint8_t> bytes);

CobData readCobFile(const std::filesystem::path& path);
// Whether a file is an object file (.cob, .rcb) by its name, in any case.
bool isObjectFileName(const std::filesystem::path& file);

// Where an object file keeps its picture (rows stored bottom-up), found by reading the header
// and the lengths of the texts only, with the checks decodeCob makes on the way.
struct CobPictureLocation {
    std::uint64_t offset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};
CobPictureLocation locateCobPicture(FileReader& file);
// Encodes first, so a refused object never touches the file; the file is replaced whole.
void writeCobFile(const std::filesystem::path& path, const CobData& cob);

// Takes a sprite (rows top-down) as the object's picture: stored bottom-up, the width copy set
// to the width.
void setCobPicture(CobData& cob, const SpriteImage& sprite);
// The palette index at column x, row y counted from the top.
std::uint8_t cobPixel(const CobData& cob, int x, int y);
// The picture as it shows, rows top-down, each index in its palette colour.
RgbImage renderCobPicture(const CobData& cob, const PaletteTable& palette);

// The name part of a path as the window remembers it: the text after the last '\', '/' or ':'.
std::string fileNamePart(std::string_view path);

}  // namespace vek
