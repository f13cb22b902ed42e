#include "sprites/sprite_file.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <limits>
#include <ostream>

#include "app/byte_io.h"
#include "app/file_io.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kMaxOffset = std::numeric_limits<std::uint32_t>::max();
constexpr const char* kTooLarge = "Die Sprite-Datei würde größer als 4 GB";

[[noreturn]] void throwEndOfFile() { throw VekError(std::string(kReadPastEndOfFile)); }

// A file opened for reading whose size is known, so every read can be checked before it is made.
class InputFile {
  public:
    explicit InputFile(const fs::path& file) : m_in(file, std::ios::binary) {
        std::error_code error;
        if (!m_in || fs::is_directory(file, error)) throw VekError(std::string(kFileNotFound));
        m_in.seekg(0, std::ios::end);
        m_size = static_cast<std::uint64_t>(m_in.tellg());
        m_in.seekg(0);
    }

    std::uint64_t size() const { return m_size; }

    void read(std::uint64_t offset, std::span<std::uint8_t> into) {
        if (offset > m_size || into.size() > m_size - offset) throwEndOfFile();
        m_in.seekg(static_cast<std::streamoff>(offset));
        m_in.read(reinterpret_cast<char*>(into.data()), static_cast<std::streamsize>(into.size()));
        if (!m_in) throwEndOfFile();
    }

    // Copies `count` bytes from `offset` to `out` in pieces, so a large block never sits in memory.
    void copyTo(std::uint64_t offset, std::uint64_t count, std::ostream& out) {
        if (offset > m_size || count > m_size - offset) throwEndOfFile();
        std::array<std::uint8_t, 64 * 1024> buffer{};
        while (count > 0) {
            const auto piece =
                static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer.size()));
            read(offset, std::span(buffer).first(piece));
            out.write(reinterpret_cast<const char*>(buffer.data()),
                      static_cast<std::streamsize>(piece));
            offset += piece;
            count -= piece;
        }
    }

  private:
    std::ifstream m_in;
    std::uint64_t m_size = 0;
};

std::string tooManySpritesMessage(std::size_t count, std::size_t capacity) {
    return "Die Datei enthält " + std::to_string(count) +
           " Sprites; die Sprite-Tabelle fasst höchstens " + std::to_string(capacity);
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

std::uint16_t checkedSide(std::int64_t value, const char* what) {
    if (value < 0 || value > static_cast<std::int64_t>(kMaxSpriteSide)) {
        throw VekError(std::string(what) + " " + std::to_string(value) +
                       " passt nicht in eine Sprite-Datei (0 bis 65535)");
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace

std::vector<SpriteEntry> parseSpriteHeader(std::span<const std::uint8_t> bytes,
                                           std::size_t capacity) {
    ByteReader in(bytes);
    const std::size_t count = in.u16();
    if (count > capacity) throw VekError(tooManySpritesMessage(count, capacity));
    std::vector<SpriteEntry> entries;
    entries.reserve(std::min(count, in.remaining() / kSpriteEntrySize));
    for (std::size_t i = 0; i < count; ++i) {
        SpriteEntry entry;
        entry.offset = in.u32();
        entry.width = in.u16();
        entry.height = in.u16();
        entries.push_back(entry);
    }
    return entries;
}

void readSpriteTableInto(const fs::path& file, SpriteTable& table, std::size_t capacity) {
    table.file = file;
    table.entries.clear();
    InputFile in(file);
    std::array<std::uint8_t, kSpriteCountFieldSize> countBytes{};
    in.read(0, countBytes);
    const std::size_t count = std::size_t{countBytes[0]} | std::size_t{countBytes[1]} << 8;
    if (count > capacity) throw VekError(tooManySpritesMessage(count, capacity));

    // Only the entries that are really there are read; a short header ends in the EOF error
    // after the complete ones have joined the table.
    const std::uint64_t held = (in.size() - kSpriteCountFieldSize) / kSpriteEntrySize;
    const auto available = static_cast<std::size_t>(std::min<std::uint64_t>(count, held));
    std::vector<std::uint8_t> entryBytes(available * kSpriteEntrySize);
    in.read(kSpriteCountFieldSize, entryBytes);
    ByteReader reader(entryBytes);
    table.entries.reserve(available);
    for (std::size_t i = 0; i < available; ++i) {
        SpriteEntry entry;
        entry.offset = reader.u32();
        entry.width = reader.u16();
        entry.height = reader.u16();
        table.entries.push_back(entry);
    }
    if (available < count) throwEndOfFile();
}

SpriteTable readSpriteTable(const fs::path& file, std::size_t capacity) {
    SpriteTable table;
    readSpriteTableInto(file, table, capacity);
    return table;
}

SpriteImage readSpritePixels(const fs::path& file, const SpriteEntry& entry) {
    InputFile in(file);
    if (entry.offset > in.size() || entry.pixelCount() > in.size() - entry.offset) throwEndOfFile();
    SpriteImage image(entry.width, entry.height);
    in.read(entry.offset, image.pixels);
    return image;
}

SpriteImage spritePixelsFromBytes(std::span<const std::uint8_t> bytes, const SpriteEntry& entry) {
    ByteReader in(bytes);
    in.seek(entry.offset);
    const auto block = in.bytes(entry.pixelCount());
    SpriteImage image(entry.width, entry.height);
    std::copy(block.begin(), block.end(), image.pixels.begin());
    return image;
}

void writeSpriteInPlace(const fs::path& file, const SpriteEntry& entry,
                        std::span<const std::uint8_t> pixels) {
    if (pixels.size() != entry.pixelCount()) {
        throw VekError("Die Pixel passen nicht zur Größe des Sprites " +
                       std::to_string(entry.width) + "X" + std::to_string(entry.height));
    }
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error || fs::is_directory(file, error)) throw VekError(std::string(kFileNotFound));
    // A block outside the file would grow it instead of replacing the sprite.
    if (entry.offset > size || pixels.size() > size - entry.offset) {
        throw VekError("Der Sprite liegt nicht ganz in der Datei " + pathToUtf8(file.filename()) +
                       "; es wurde nichts geschrieben");
    }
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) throw VekError("Kann nicht nach " + pathToUtf8(file) + " schreiben");
    out.seekp(static_cast<std::streamoff>(entry.offset));
    writeBytes(out, pixels);
    out.close();
    if (!out) throw VekError("Fehler beim Schreiben von " + pathToUtf8(file));
}

std::vector<std::uint8_t> spriteHeaderBytes(std::span<const SpriteEntry> entries) {
    ByteWriter out;
    out.u16(static_cast<std::uint16_t>(entries.size()));
    for (const SpriteEntry& entry : entries) {
        out.u32(entry.offset);
        out.u16(entry.width);
        out.u16(entry.height);
    }
    return out.take();
}

void copySpritePixels(const fs::path& file, const SpriteEntry& entry, std::ostream& out) {
    InputFile(file).copyTo(entry.offset, entry.pixelCount(), out);
}

std::vector<SpriteEntry> contiguousLayout(std::span<const SpriteEntry> sizes) {
    if (sizes.size() > kMaxSpriteCount) {
        throw VekError(std::to_string(sizes.size()) +
                       " Sprites passen nicht in eine Sprite-Datei (höchstens 65535)");
    }
    std::vector<SpriteEntry> entries(sizes.begin(), sizes.end());
    std::uint64_t offset = spriteHeaderSize(entries.size());
    for (SpriteEntry& entry : entries) {
        entry.offset = static_cast<std::uint32_t>(offset);
        offset += entry.pixelCount();
        // Every block must end where a 32-bit offset still reaches.
        if (offset > kMaxOffset) throw VekError(kTooLarge);
    }
    return entries;
}

UniformSpriteFile checkUniformSpriteFile(std::int64_t count, std::int64_t width,
                                         std::int64_t height) {
    if (count < 0 || count > static_cast<std::int64_t>(kMaxSpriteCount)) {
        throw VekError("Anzahl " + std::to_string(count) +
                       " passt nicht in eine Sprite-Datei (0 bis 65535)");
    }
    UniformSpriteFile layout{static_cast<std::size_t>(count), checkedSide(width, "Breite"),
                             checkedSide(height, "Höhe")};
    const std::uint64_t block = std::uint64_t{layout.width} * layout.height;
    if (spriteHeaderSize(layout.count) + layout.count * block > kMaxOffset)
        throw VekError(kTooLarge);
    return layout;
}

void writeUniformSpriteFile(const fs::path& file, const UniformSpriteFile& layout,
                            std::span<const std::uint8_t> block) {
    const UniformSpriteFile checked = checkUniformSpriteFile(
        static_cast<std::int64_t>(layout.count), static_cast<std::int64_t>(layout.width),
        static_cast<std::int64_t>(layout.height));
    const std::size_t blockSize = checked.width * checked.height;
    if (!block.empty() && block.size() != blockSize)
        throw VekError("Die Pixel passen nicht zur Größe der Sprites");
    const std::vector<SpriteEntry> sizes(checked.count,
                                         SpriteEntry{0, static_cast<std::uint16_t>(checked.width),
                                                     static_cast<std::uint16_t>(checked.height)});
    const std::vector<std::uint8_t> header = spriteHeaderBytes(contiguousLayout(sizes));
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

void writeUniformSpriteFile(const fs::path& file, const UniformSpriteFile& layout) {
    writeUniformSpriteFile(file, layout, {});
}

std::vector<std::uint8_t> spriteFileBytes(std::span<const SpriteImage> sprites) {
    std::vector<SpriteEntry> sizes;
    sizes.reserve(sprites.size());
    for (const SpriteImage& sprite : sprites) {
        if (sprite.pixels.size() != std::size_t{sprite.width} * sprite.height) {
            throw VekError("Die Pixel passen nicht zur Größe des Sprites");
        }
        sizes.push_back({0, sprite.width, sprite.height});
    }
    std::vector<std::uint8_t> bytes = spriteHeaderBytes(contiguousLayout(sizes));
    for (const SpriteImage& sprite : sprites)
        bytes.insert(bytes.end(), sprite.pixels.begin(), sprite.pixels.end());
    return bytes;
}

void writeSpriteFile(const fs::path& file, std::span<const SpriteImage> sprites) {
    writeFileAtomically(file, spriteFileBytes(sprites));
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
