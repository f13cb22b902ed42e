#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "app/file_reader.h"

namespace vek {

// The sprite file (.SPR): a 16-bit count N, N table entries of 8 bytes (32-bit offset of the
// pixel block, 16-bit width, 16-bit height), then the pixel blocks, one palette index per pixel,
// rows from the top. Readers find each block by its stored offset; files written anew have the
// blocks contiguous and in order directly behind the header.
inline constexpr std::size_t kSpriteCountFieldSize = 2;
inline constexpr std::size_t kSpriteEntrySize = 8;
inline constexpr std::size_t kMaxSpriteCount = 0xFFFF;
inline constexpr std::size_t kMaxSpriteSide = 0xFFFF;
// The most pixels one sprite may have to be opened or created: 8192 x 8192, far above any the
// game shows, and a bound on the memory a sprite file's header can ask for.
inline constexpr std::size_t kMaxSpritePixels = std::size_t{1} << 26;

// The most bytes a sprite file can hold: a block of the largest sides at the farthest offset.
inline constexpr std::uint64_t kMaxSpriteFileSize =
    std::uint64_t{0xFFFFFFFF} + std::uint64_t{kMaxSpriteSide} * kMaxSpriteSide;

// The sprite editor's table holds sprites 0 to 999.
inline constexpr std::size_t kSpriteTableCapacity = 1000;

constexpr std::size_t spriteHeaderSize(std::size_t count) {
    return kSpriteCountFieldSize + kSpriteEntrySize * count;
}

// One entry of a file's table.
struct SpriteEntry {
    std::uint32_t offset = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;

    std::size_t pixelCount() const { return std::size_t{width} * std::size_t{height}; }
    bool operator==(const SpriteEntry&) const = default;
};

// One sprite's picture: palette indices, row by row from the top, each row from the left.
struct SpriteImage {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::vector<std::uint8_t> pixels;  // width * height

    SpriteImage() = default;
    SpriteImage(std::uint16_t w, std::uint16_t h, std::uint8_t fill = 0)
        : width(w), height(h), pixels(std::size_t{w} * std::size_t{h}, fill) {}

    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
    }
    std::uint8_t& at(int x, int y) { return pixels[index(x, y)]; }
    std::uint8_t at(int x, int y) const { return pixels[index(x, y)]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    bool operator==(const SpriteImage&) const = default;
};

// A file's table as the sprite editor keeps it, with the name of the file it was read from.
struct SpriteTable {
    std::filesystem::path file;
    std::vector<SpriteEntry> entries;

    std::size_t count() const { return entries.size(); }
};

// A sprite file opened for reading. Every read is checked against the bytes really there, and an
// error names the file and the offset.
class SpriteFile {
  public:
    explicit SpriteFile(const std::filesystem::path& file,
                        std::uint64_t limit = FileReader::kNoLimit)
        : m_in(file, limit) {}

    FileReader& reader() { return m_in; }

    // The table, in one read. A file that holds more than `capacity` sprites is refused before any
    // entry is read. A header shorter than its count promises throws the end-of-file error after
    // the complete entries have joined `entries`.
    void readTable(std::vector<SpriteEntry>& entries, std::size_t capacity = kSpriteTableCapacity);
    std::vector<SpriteEntry> readTable(std::size_t capacity = kSpriteTableCapacity);

    // One sprite's pixels from its stored offset; a block that reaches past the end of the file
    // throws the end-of-file error before anything is allocated.
    SpriteImage readSprite(const SpriteEntry& entry);
    // Appends one sprite's pixel block to `out` in pieces.
    void copySprite(const SpriteEntry& entry, std::ostream& out);

  private:
    FileReader m_in;
};

// The table of a file, named by it.
SpriteTable readSpriteTable(const std::filesystem::path& file,
                            std::size_t capacity = kSpriteTableCapacity);
SpriteImage readSprite(const std::filesystem::path& file, const SpriteEntry& entry);

// The numbers of the table's entries whose pixel blocks reach past the end of its file.
std::vector<std::size_t> damagedEntries(const SpriteTable& table);

// Overwrites one sprite's pixel block; nothing else in the file changes. Refused (and nothing
// written) when the file is missing, the pixels do not fit the entry, or the block does not lie
// wholly inside the file.
void writeSpriteInPlace(const std::filesystem::path& file, const SpriteEntry& entry,
                        std::span<const std::uint8_t> pixels);

// The entries with their offsets rebuilt for blocks laid contiguously in order behind the header.
// Throws when the count or an offset does not fit the file's fields.
std::vector<SpriteEntry> contiguousLayout(std::span<const SpriteEntry> sizes);

// The count and the table of a file with these entries.
std::vector<std::uint8_t> encodeSpriteHeader(std::span<const SpriteEntry> entries);

// A uniform file: `count` sprites of one size, each holding `block` (width * height bytes), or
// all 0 without a block. The sizes are checked against the file's fields first.
struct UniformSpriteFile {
    std::size_t count = 0;
    std::size_t width = 0;
    std::size_t height = 0;
};
UniformSpriteFile checkUniformSpriteFile(std::int64_t count, std::int64_t width,
                                         std::int64_t height);
void writeUniformSpriteFile(const std::filesystem::path& file, const UniformSpriteFile& layout,
                            std::span<const std::uint8_t> block = {});

// A whole file of the given sprites, contiguous and in order.
std::vector<std::uint8_t> encodeSpriteFile(std::span<const SpriteImage> sprites);
void writeSpriteFile(const std::filesystem::path& file, std::span<const SpriteImage> sprites);

// The sprite list's line: the number padded with blanks and cut to 3 characters, a blank,
// then width "X" height ("0   32X48", "12  32X48", "123 32X48").
std::string spriteListLine(std::size_t number, const SpriteEntry& entry);

}  // namespace vek
