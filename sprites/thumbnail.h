#pragma once

#include <filesystem>
#include <span>

#include "app/file_reader.h"
#include "app/rgb_image.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"

namespace vek {

// How many sprites of a file the contact sheet shows, two rows of two.
inline constexpr std::size_t kContactSheetSprites = 4;
inline constexpr int kMaxThumbnailSize = 1024;

// A palette of our own for pictures shown without the game: a grey ramp from black (slot 1) to
// white (slot 255), slot 0 the background.
PaletteTable neutralPalette(ScreenColor background);

// A picture kept in a file as rows of palette indices.
struct StoredPicture {
    std::uint64_t offset = 0;  // of its first stored row
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    bool bottomUp = false;  // the last row stored first, as an object's picture is
};

// The pictures side by side on the background, each centred in a cell as large as the largest
// (one picture alone, else a sheet two cells wide), scaled (nearest pixel) so that the sheet's
// longer side is `size`. Only the pixels the thumbnail shows are read, in pieces of a row, so
// that neither the declared sizes nor the file's size decide the memory it takes. A sheet with a
// side of 0 throws "There is no picture to show."; a picture that reaches past the end of the
// file throws the end-of-file error.
RgbImage drawThumbnail(FileReader& in, std::span<const StoredPicture> pictures,
                       const PaletteTable& palette, int size);

// The picture scaled (nearest pixel) so that its longer side is `size`, keeping its proportions.
RgbImage fitThumbnail(const RgbImage& picture, int size);

// A sprite file's thumbnail: its first sprite, or a contact sheet of its first few.
RgbImage spriteFileThumbnail(const std::filesystem::path& file, const PaletteTable& palette,
                             int size);

// Throws unless 1 <= size <= kMaxThumbnailSize.
void requireThumbnailSize(int size);

}  // namespace vek
