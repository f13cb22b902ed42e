#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "app/rgb_image.h"
#include "sprites/indexed_picture.h"

namespace vek {

// PNG pictures, through libpng where the program was built with it. Reading takes 8-bit palette,
// grey and colour pictures, with or without alpha, at any bit depth; a pixel whose alpha is below
// 128 becomes `background`. Pictures beyond the bitmap's pixel limit are refused before their
// pixels are read. Without libpng every call fails with a message saying so.
bool pngBuiltIn();
bool hasPngSignature(std::span<const std::uint8_t> file);

RgbImage decodePng(std::span<const std::uint8_t> file, ScreenColor background);
std::vector<std::uint8_t> encodePng(const RgbImage& image);

// A picture of colour table indices, rows from the top.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;  // width * height
    ColorTable table;                   // at most 256 entries
};

// An 8-bit palette PNG holding the indices as they are and the table as its palette, entries
// that are not opaque in its transparency chunk (tRNS).
std::vector<std::uint8_t> encodeIndexedPng(const IndexedPicture& picture);
// A palette PNG's indices and table, indices exactly as stored; nothing for any other kind of
// PNG. A picture of more than `maxPixels` pixels is refused before its pixels are read.
std::optional<IndexedPicture> decodeIndexedPng(std::span<const std::uint8_t> file,
                                               std::uint64_t maxPixels);

}  // namespace vek
