#include "sprites/palette.h"

#include <system_error>

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

std::vector<std::uint8_t> demoPaletteBytes() {
    std::vector<std::uint8_t> palette;
    palette.reserve(kPaletteFileSize);
    auto add = [&palette](int r, int g, int b) {
        palette.push_back(static_cast<std::uint8_t>(r));
        palette.push_back(static_cast<std::uint8_t>(g));
        palette.push_back(static_cast<std::uint8_t>(b));
    };
    add(0, 0, 0);
    const int strong[10][3] = {{32, 0, 0},  {0, 32, 0},   {32, 32, 0},  {0, 0, 32},   {32, 0, 32},
                               {0, 32, 32}, {48, 48, 48}, {48, 56, 48}, {40, 50, 60}, {63, 60, 50}};
    for (const auto& c : strong) add(c[0], c[1], c[2]);
    const int levels[6] = {0, 13, 25, 38, 51, 63};
    for (int r : levels)
        for (int g : levels)
            for (int b : levels) add(r, g, b);
    for (int i = 0; i < 29; ++i) {
        const int grey = 2 + i * 2 + (i > 5 ? 1 : 0);  // steps that miss the cube's greys
        add(grey, grey, grey);
    }
    return palette;
}

PaletteTable readGamePaletteOrDemo(std::string_view paletteDirectory, ScreenColor background) {
    std::error_code error;
    if (std::filesystem::is_regular_file(paletteFilePath(paletteDirectory), error))
        return readGamePalette(paletteDirectory, background);
    return decodePalette(demoPaletteBytes(), background);
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
