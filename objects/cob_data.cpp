#include "objects/cob_data.h"

#include <algorithm>
#include <cctype>

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/file_reader.h"
#include "app/text_names.h"

namespace vek {

namespace {

constexpr std::uint8_t kLongFormMarker = 255;

std::string count(std::size_t value) { return std::to_string(value); }

// The message names the size, the list and the most an object holds.
void requireFits(const Bilingual& message, std::size_t size, const Bilingual& list) {
    if (size <= kMaxCobEntries) return;
    throw VekError(fill(
        message, {untranslated(count(size)), textOf(list), untranslated(count(kMaxCobEntries))}));
}

void writeTexts(ByteWriter& out, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) CobString::write(out, utf8ToAnsi(text));
}

std::vector<std::string> readTexts(ByteReader& in, std::size_t number) {
    std::vector<std::string> texts;
    texts.reserve(number);
    for (std::size_t k = 0; k < number; ++k) texts.push_back(ansiToUtf8(CobString::read(in)));
    return texts;
}

std::size_t pictureSize(std::int32_t width, std::int32_t height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// The later games' files begin with a tag of their own; read as this format they would give
// garbage, so they are named and refused.
void refuseLaterGenerations(std::span<const std::uint8_t> bytes) {
    const std::string_view head(reinterpret_cast<const char*>(bytes.data()),
                                std::min<std::size_t>(bytes.size(), 4));
    if (head == "cob2") {
        throw VekError(Msg::CobIsCreatures2);
    }
    if (head == "PRAY") {
        throw VekError(Msg::CobIsPray);
    }
}

}  // namespace

void CobString::write(ByteWriter& out, std::string_view bytes) {
    if (bytes.size() > kMaxCobStringLength) {
        throw VekError(
            fill(Msg::CobTextTooLong, {count(bytes.size()), count(kMaxCobStringLength)}));
    }
    if (bytes.size() < kLongFormMarker) {
        out.u8(static_cast<std::uint8_t>(bytes.size()));
    } else {
        out.u8(kLongFormMarker);
        out.u16(static_cast<std::uint16_t>(bytes.size()));
    }
    out.text(bytes);
}

std::string CobString::read(ByteReader& in) {
    std::size_t length = in.u8();
    if (length == kLongFormMarker) length = in.u16();
    return in.text(length);
}

std::vector<std::uint8_t> encodeCob(const CobData& cob) {
    requireFits(Msg::CobListTooLongToSave, cob.scripts.size(), Msg::CobScriptsList);
    requireFits(Msg::CobListTooLongToSave, cob.imports.size(), Msg::CobImportsList);
    if (cob.pictureWidth < 0 || cob.pictureHeight < 0 ||
        cob.picturePixels.size() != pictureSize(cob.pictureWidth, cob.pictureHeight)) {
        const std::string size =
            std::to_string(cob.pictureWidth) + " x " + std::to_string(cob.pictureHeight);
        throw VekError(fill(Msg::CobPictureSizeMismatch, {size}));
    }
    ByteWriter out;
    // The 16-bit fields keep the low 16 bits of the values in memory.
    out.u16(static_cast<std::uint16_t>(cob.items));
    out.u16(static_cast<std::uint16_t>(cob.quantity));
    out.i32(cob.timelimitMonth);
    out.i32(cob.timelimitDay);
    out.i32(cob.timelimitYear);
    out.u16(static_cast<std::uint16_t>(cob.scripts.size()));
    out.u16(static_cast<std::uint16_t>(cob.imports.size()));
    out.i32(cob.used);
    writeTexts(out, cob.scripts);
    writeTexts(out, cob.imports);
    out.i32(cob.pictureWidth);
    out.i32(cob.pictureHeight);
    out.u16(static_cast<std::uint16_t>(cob.pictureWidthCopy));
    out.bytes(cob.picturePixels);
    CobString::write(out, utf8ToAnsi(cob.name));
    out.u8(0);
    return out.take();
}

CobData decodeCob(std::span<const std::uint8_t> bytes) {
    refuseLaterGenerations(bytes);
    ByteReader in(bytes);
    CobData cob;
    cob.items = in.u16();
    cob.quantity = in.u16();
    cob.timelimitMonth = in.i32();
    cob.timelimitDay = in.i32();
    cob.timelimitYear = in.i32();
    const std::size_t scriptCount = in.u16();
    const std::size_t importCount = in.u16();
    cob.used = in.i32();
    requireFits(Msg::CobListTooLongToLoad, scriptCount, Msg::CobScriptsList);
    requireFits(Msg::CobListTooLongToLoad, importCount, Msg::CobImportsList);
    cob.scripts = readTexts(in, scriptCount);
    cob.imports = readTexts(in, importCount);
    cob.pictureWidth = in.i32();
    cob.pictureHeight = in.i32();
    cob.pictureWidthCopy = in.u16();
    if (cob.pictureWidth < 0 || cob.pictureHeight < 0) {
        const std::string size =
            std::to_string(cob.pictureWidth) + " x " + std::to_string(cob.pictureHeight);
        throw VekError(fill(Msg::CobPictureSizeInvalid, {size}));
    }
    // A size that promises more bytes than the file holds ends like any short file.
    const std::uint64_t pixels = static_cast<std::uint64_t>(cob.pictureWidth) *
                                 static_cast<std::uint64_t>(cob.pictureHeight);
    if (pixels > in.remaining())
        throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::atByte(in.position()));
    if (pixels > kMaxSpritePixels) {
        const std::string size =
            std::to_string(cob.pictureWidth) + " x " + std::to_string(cob.pictureHeight);
        throw VekError(fill(Msg::CobPictureTooLarge, {size}));
    }
    const auto block = in.bytes(static_cast<std::size_t>(pixels));
    cob.picturePixels.assign(block.begin(), block.end());
    cob.name = ansiToUtf8(CobString::read(in));
    // The zero byte after the name is not needed and not read.
    return cob;
}

CobData readCobFile(const std::filesystem::path& path) {
    return readingFile(path, [&] { return decodeCob(FileReader(path, kMaxCobFileSize).all()); });
}

CobPictureLocation locateCobPicture(FileReader& file) {
    constexpr std::size_t kHeaderSize = 24;
    constexpr std::size_t kPictureFieldsSize = 10;
    const std::vector<std::uint8_t> header = file.bytesUpTo(0, kHeaderSize);
    refuseLaterGenerations(header);
    ByteReader in(header);
    in.bytes(16);  // items, quantity, time limit
    const std::size_t scriptCount = in.u16();
    const std::size_t importCount = in.u16();
    in.i32();  // used
    requireFits(Msg::CobListTooLongToLoad, scriptCount, Msg::CobScriptsList);
    requireFits(Msg::CobListTooLongToLoad, importCount, Msg::CobImportsList);
    std::uint64_t offset = kHeaderSize;
    for (std::size_t k = 0; k < scriptCount + importCount; ++k) {
        const std::vector<std::uint8_t> lengthField = file.bytesUpTo(offset, 3);
        ByteReader length(lengthField);
        std::size_t bytes = length.u8();
        offset += 1;
        if (bytes == kLongFormMarker) {
            bytes = length.u16();
            offset += 2;
        }
        offset += bytes;
    }
    const std::vector<std::uint8_t> fields = file.bytes(offset, kPictureFieldsSize);
    ByteReader picture(fields);
    CobPictureLocation where;
    where.width = picture.i32();
    where.height = picture.i32();
    where.offset = offset + kPictureFieldsSize;
    if (where.width < 0 || where.height < 0) {
        const std::string size = std::to_string(where.width) + " x " + std::to_string(where.height);
        throw VekError(fill(Msg::CobPictureSizeInvalid, {size}));
    }
    return where;
}

bool isObjectFileName(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".cob" || extension == ".rcb";
}

void writeCobFile(const std::filesystem::path& path, const CobData& cob) {
    writeFileAtomically(path, encodeCob(cob));
}

void setCobPicture(CobData& cob, const SpriteImage& picture) {
    const std::size_t width = picture.width;
    const std::size_t height = picture.height;
    if (picture.pixels.size() != width * height) {
        const std::string size = std::to_string(width) + " x " + std::to_string(height);
        throw VekError(fill(Msg::SpritePixelsSizeMismatch, {size}));
    }
    cob.picturePixels.resize(width * height);
    for (std::size_t row = 0; row < height; ++row) {
        const auto source = picture.pixels.begin() + static_cast<std::ptrdiff_t>(row * width);
        std::copy(
            source, source + static_cast<std::ptrdiff_t>(width),
            cob.picturePixels.begin() + static_cast<std::ptrdiff_t>((height - 1 - row) * width));
    }
    cob.pictureWidth = static_cast<std::int32_t>(width);
    cob.pictureHeight = static_cast<std::int32_t>(height);
    cob.pictureWidthCopy = cob.pictureWidth;
}

std::uint8_t cobPixel(const CobData& cob, int x, int y) {
    const auto width = static_cast<std::size_t>(cob.pictureWidth);
    const auto storedRow = static_cast<std::size_t>(cob.pictureHeight - 1 - y);
    return cob.picturePixels[storedRow * width + static_cast<std::size_t>(x)];
}

RgbImage renderCobPicture(const CobData& cob, const PaletteTable& palette) {
    RgbImage picture(cob.pictureWidth, cob.pictureHeight);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) picture.at(x, y) = palette[cobPixel(cob, x, y)];
    }
    return picture;
}

std::string fileNamePart(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/:");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

}  // namespace vek
