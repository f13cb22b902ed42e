#include "sprites/palette.h"

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

PaletteTable decodePalette(std::span<const std::uint8_t> bytes, ScreenColor background) {
    if (bytes.size() < kPaletteFileSize)
        throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::atByte(bytes.size()));
    for (std::size_t i = 0; i < kPaletteFileSize; ++i) {
        // A larger value would spill into the next component once shifted.
        if (bytes[i] > kPaletteMaxIntensity) {
            const std::string value = std::to_string(bytes[i]);
            throw VekError(fill(Msg::PaletteByteInvalid, {value}), ErrorDetail::atByte(i));
        }
    }
    PaletteTable table;
    for (std::size_t k = 0; k < kPaletteColorCount; ++k) {
        table.setColor(k, paletteEntryColor(bytes[3 * k], bytes[3 * k + 1], bytes[3 * k + 2]));
    }
    table.setBackground(background);
    return table;
}

PaletteTable readPaletteFile(const std::filesystem::path& file, ScreenColor background) {
    return readingFile(file, [&] {
        // A palette file is its 256 colours and nothing else: a larger file is refused before
        // it is read, a shorter one as it is.
        const std::vector<std::uint8_t> bytes = readFileBytes(file, kPaletteFileSize);
        if (bytes.size() != kPaletteFileSize) {
            const std::string size = std::to_string(bytes.size());
            throw VekError(
                fill(Msg::PaletteFileWrongSize, {std::to_string(kPaletteFileSize), size}));
        }
        return decodePalette(bytes, background);
    });
}

std::filesystem::path paletteFilePath(std::string_view paletteDirectory) {
    return findIgnoringCase(pathFromUtf8(paletteDirectory), kPaletteFileName);
}

PaletteTable readGamePalette(std::string_view paletteDirectory, ScreenColor background) {
    return readPaletteFile(paletteFilePath(paletteDirectory), background);
}

std::array<std::uint8_t, kPaletteFileSize> encodePalette(const PaletteTable& table) {
    std::array<std::uint8_t, kPaletteFileSize> bytes{};
    for (std::size_t k = 1; k < kPaletteColorCount; ++k) {
        const ScreenColor color = table.color(k);
        bytes[3 * k] = static_cast<std::uint8_t>(redOf(color) >> 2);
        bytes[3 * k + 1] = static_cast<std::uint8_t>(greenOf(color) >> 2);
        bytes[3 * k + 2] = static_cast<std::uint8_t>(blueOf(color) >> 2);
    }
    return bytes;
}

}  // namespace vek
