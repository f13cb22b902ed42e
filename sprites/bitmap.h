#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "app/rgb_image.h"

namespace vek {

// Windows bitmap files (.BMP).
//
// Writing keeps every colour exact: 24 bits per pixel (or 32, the top byte 0), rows bottom-up,
// a 40-byte info header. Reading accepts 1, 4, 8, 16, 24 and 32 bits per pixel, RLE4 and RLE8,
// bottom-up and top-down rows, the core (12-byte), info (40-byte) and later headers, and
// BITFIELDS masks for 16 and 32 bits. Anything else, or a file that does not hold what its
// headers promise, fails with a VekError before any large allocation is made.

enum class BitmapBits { Rgb24 = 24, Rgb32 = 32 };

// The most pixels a bitmap may have (8192 x 8192); larger pictures are refused.
inline constexpr std::uint64_t kMaxBitmapPixels = std::uint64_t{1} << 26;

std::vector<std::uint8_t> encodeBitmap(const RgbImage& image, BitmapBits bits = BitmapBits::Rgb24);
// A picture of no pixels is refused: no program reads such a bitmap back.
// Refuses a picture of no pixels with a message naming the file.
void refuseEmptyPicture(const std::filesystem::path& path, const RgbImage& image);

void writeBitmap(const std::filesystem::path& path, const RgbImage& image,
                 BitmapBits bits = BitmapBits::Rgb24);

RgbImage decodeBitmap(std::span<const std::uint8_t> file);
RgbImage readBitmap(const std::filesystem::path& path);

}  // namespace vek
