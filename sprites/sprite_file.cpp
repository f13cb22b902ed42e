#include "sprites/sprite_file.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <limits>
#include <ostream>

#include "app/byte_io.h"
#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kMaxOffset = std::numeric_limits<std::uint32_t>::max();

VekError tooManySprites(std::size_t count, std::size_t capacity, const fs::path& file) {
    const std::string held = std::to_string(count);
    const std::string most = std::to_string(capacity);
    return VekError(fill(Msg::SpriteTableTooSmall, {held, most}), ErrorDetail::ofFile(file));
}

std::string sizeText(std::uint64_t width, std::uint64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

VekError tooLargeToOpen(const SpriteEntry& entry, const fs::path& file) {
    const std::string size = sizeText(entry.width, entry.height);
    const std::string most = std::to_string(kMaxSpritePixels);
    return VekError(fill(Msg::SpriteTooLargeToOpen, {size, most}),
                    ErrorDetail::ofFile(file, entry.offset));
}

VekError doesNotFit(const Bilingual& what, std::int64_t value) {
    const std::string number = std::to_string(value);
    return VekError(fill(Msg::SpriteValueDoesNotFit, {textOf(what), {number, number}}));
}

std::uint16_t checkedSide(std::int64_t value, const Bilingual& what) {
    if (value < 0 || value > static_cast<std::int64_t>(kMaxSpriteSide))
        throw doesNotFit(what, value);
    return static_cast<std::uint16_t>(value);
}

void writeBytes(std::ostream& out, std::span<const std::uint8_t> bytes) {
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void writeZeros(std::ostream& out, std::uint64_t count) {
    static const std::array<std::uint8_t, 64 * 1024> zeros{};
    while (count > 0) {
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(count, zeros.size()));
        writeBytes(out, std::span(zeros).first(piece));
        count -= piece;
    }
}

}  // namespace

void SpriteFile::readTable(std::vector<SpriteEntry>& entries, std::size_t capacity) {
    entries.clear();
    const std::vector<std::uint8_t> countField = m_in.bytes(0, kSpriteCountFieldSize);
    const std::size_t count = std::size_t{countField[0]} | std::size_t{countField[1]} << 8;
    if (count > capacity) throw tooManySprites(count, capacity, m_in.file());

    // Only the entries that are really there are read; a short header ends in the end-of-file
    // error after the complete ones have joined the table.
    const std::vector<std::uint8_t> table =
        m_in.bytesUpTo(kSpriteCountFieldSize, count * kSpriteEntrySize);
    const std::size_t available = table.size() / kSpriteEntrySize;
    ByteReader reader(table);
    entries.reserve(available);
    for (std::size_t i = 0; i < available; ++i) {
        SpriteEntry entry;
        entry.offset = reader.u32();
        entry.width = reader.u16();
        entry.height = reader.u16();
        entries.push_back(entry);
    }
    if (available < count) m_in.bytes(spriteHeaderSize(available), kSpriteEntrySize);
}

std::vector<SpriteEntry> SpriteFile::readTable(std::size_t capacity) {
    std::vector<SpriteEntry> entries;
    readTable(entries, capacity);
    return entries;
}

SpriteImage SpriteFile::readSprite(const SpriteEntry& entry) {
    if (entry.pixelCount() > kMaxSpritePixels) throw tooLargeToOpen(entry, m_in.file());
    SpriteImage image;
    image.pixels = m_in.bytes(entry.offset, entry.pixelCount());
    image.width = entry.width;
    image.height = entry.height;
    return image;
}

void SpriteFile::copySprite(const SpriteEntry& entry, std::ostream& out) {
    m_in.copyTo(entry.offset, entry.pixelCount(), out);
}

SpriteTable readSpriteTable(const fs::path& file, std::size_t capacity) {
    return {file, SpriteFile(file).readTable(capacity)};
}

SpriteImage readSprite(const fs::path& file, const SpriteEntry& entry) {
    return SpriteFile(file).readSprite(entry);
}

void writeSpriteInPlace(const fs::path& file, const SpriteEntry& entry,
                        std::span<const std::uint8_t> pixels) {
    if (pixels.size() != entry.pixelCount()) throw VekError(Msg::SpritePixelsDoNotFit);
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error || fs::is_directory(file, error))
        throw VekError::runtime(kFileNotFound, ErrorDetail::ofFile(file));
    // A block outside the file would grow it instead of replacing the sprite.
    if (entry.offset > size || pixels.size() > size - entry.offset) {
        throw VekError(Msg::SpriteNotInFile, ErrorDetail::ofFile(file, entry.offset));
    }
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) throw cannotWriteError(file);
    out.seekp(static_cast<std::streamoff>(entry.offset));
    writeBytes(out, pixels);
    out.close();
    if (!out) throw cannotWriteError(file);
}

std::vector<std::uint8_t> encodeSpriteHeader(std::span<const SpriteEntry> entries) {
    ByteWriter out;
    out.u16(static_cast<std::uint16_t>(entries.size()));
    for (const SpriteEntry& entry : entries) {
        out.u32(entry.offset);
        out.u16(entry.width);
        out.u16(entry.height);
    }
    return out.take();
}

std::vector<SpriteEntry> contiguousLayout(std::span<const SpriteEntry> sizes) {
    if (sizes.size() > kMaxSpriteCount)
        throw doesNotFit(Msg::SpriteCountWhat, static_cast<std::int64_t>(sizes.size()));
    std::vector<SpriteEntry> entries(sizes.begin(), sizes.end());
    std::uint64_t offset = spriteHeaderSize(entries.size());
    for (SpriteEntry& entry : entries) {
        entry.offset = static_cast<std::uint32_t>(offset);
        offset += entry.pixelCount();
        // Every block must end where a 32-bit offset still reaches.
        if (offset > kMaxOffset) throw VekError(Msg::SpriteTooLarge);
    }
    return entries;
}

UniformSpriteFile checkUniformSpriteFile(std::int64_t count, std::int64_t width,
                                         std::int64_t height) {
    if (count < 0 || count > static_cast<std::int64_t>(kMaxSpriteCount))
        throw doesNotFit(Msg::SpriteCountWhat, count);
    UniformSpriteFile layout{static_cast<std::size_t>(count),
                             checkedSide(width, Msg::SpriteWidthWhat),
                             checkedSide(height, Msg::SpriteHeightWhat)};
    const std::uint64_t block = std::uint64_t{layout.width} * layout.height;
    if (block > kMaxSpritePixels) {
        const std::string size = sizeText(layout.width, layout.height);
        const std::string most = std::to_string(kMaxSpritePixels);
        throw VekError(fill(Msg::SpritesTooLargeForEditor, {size, most}));
    }
    if (spriteHeaderSize(layout.count) + layout.count * block > kMaxOffset)
        throw VekError(Msg::SpriteTooLarge);
    return layout;
}

void writeUniformSpriteFile(const fs::path& file, const UniformSpriteFile& layout,
                            std::span<const std::uint8_t> block) {
    const UniformSpriteFile checked = checkUniformSpriteFile(
        static_cast<std::int64_t>(layout.count), static_cast<std::int64_t>(layout.width),
        static_cast<std::int64_t>(layout.height));
    const std::size_t blockSize = checked.width * checked.height;
    if (!block.empty() && block.size() != blockSize) throw VekError(Msg::SpritePixelsDoNotFit);
    const std::vector<SpriteEntry> sizes(checked.count,
                                         SpriteEntry{0, static_cast<std::uint16_t>(checked.width),
                                                     static_cast<std::uint16_t>(checked.height)});
    const std::vector<std::uint8_t> header = encodeSpriteHeader(contiguousLayout(sizes));
    writeFileAtomically(file, [&](std::ostream& out) {
        writeBytes(out, header);
        for (std::size_t i = 0; i < checked.count; ++i) {
            if (block.empty()) {
                writeZeros(out, blockSize);
            } else {
                writeBytes(out, block);
            }
        }
    });
}

std::vector<std::uint8_t> encodeSpriteFile(std::span<const SpriteImage> sprites) {
    std::vector<SpriteEntry> sizes;
    sizes.reserve(sprites.size());
    for (const SpriteImage& sprite : sprites) {
        if (sprite.pixels.size() != std::size_t{sprite.width} * sprite.height)
            throw VekError(Msg::SpritePixelsDoNotFit);
        sizes.push_back({0, sprite.width, sprite.height});
    }
    std::vector<std::uint8_t> bytes = encodeSpriteHeader(contiguousLayout(sizes));
    for (const SpriteImage& sprite : sprites)
        bytes.insert(bytes.end(), sprite.pixels.begin(), sprite.pixels.end());
    return bytes;
}

void writeSpriteFile(const fs::path& file, std::span<const SpriteImage> sprites) {
    writeFileAtomically(file, encodeSpriteFile(sprites));
}

std::vector<std::size_t> damagedEntries(const SpriteTable& table) {
    const std::uint64_t size = FileReader(table.file).size();
    std::vector<std::size_t> damaged;
    for (std::size_t k = 0; k < table.count(); ++k) {
        const SpriteEntry& entry = table.entries[k];
        if (entry.offset > size || entry.pixelCount() > size - entry.offset) damaged.push_back(k);
    }
    return damaged;
}

std::string spriteListLine(std::size_t number, const SpriteEntry& entry) {
    std::string line = std::to_string(number);
    line.resize(3, ' ');
    line += ' ';
    line += std::to_string(entry.width);
    line += 'X';
    line += std::to_string(entry.height);
    return line;
}

}  // namespace vek
