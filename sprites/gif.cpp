#include "sprites/gif.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "app/text_names.h"
#include "app/vek_error.h"
#include "sprites/indexed_picture.h"

#ifdef VEK_HAVE_GIF
#include <gif_lib.h>
#endif

namespace vek {

namespace {

constexpr std::array<std::uint8_t, 3> kGifSignature{'G', 'I', 'F'};

}  // namespace

bool hasGifSignature(std::span<const std::uint8_t> file) {
    return file.size() >= kGifSignature.size() &&
           std::equal(kGifSignature.begin(), kGifSignature.end(), file.begin());
}

#ifdef VEK_HAVE_GIF

namespace {

[[noreturn]] void invalid(const std::string& reason) {
    throw VekError(fill(Msg::GifInvalid, {reason}));
}

std::string errorText(int error) {
    const char* text = GifErrorString(error);
    return text ? std::string(text) : "giflib error " + std::to_string(error);
}

[[noreturn]] void failed(const GifFileType* gif) { invalid(errorText(gif->Error)); }

// ---- Writing ----

struct GifWriter {
    GifWriter() {
        int error = 0;
        gif = EGifOpen(&bytes, &GifWriter::write, &error);
        if (!gif) invalid(errorText(error));
    }
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;
    ~GifWriter() {
        if (gif) EGifCloseFile(gif, nullptr);
    }

    void check(int result) const {
        if (result == GIF_ERROR) failed(gif);
    }
    std::vector<std::uint8_t> finish() {
        int error = 0;
        const int result = EGifCloseFile(gif, &error);
        gif = nullptr;
        if (result == GIF_ERROR) invalid(errorText(error));
        return std::move(bytes);
    }

    static int write(GifFileType* gif, const GifByteType* data, int length) {
        auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
        out->insert(out->end(), data, data + length);
        return length;
    }

    std::vector<std::uint8_t> bytes;
    GifFileType* gif = nullptr;
};

struct MapObject {
    explicit MapObject(const PaletteTable& palette) {
        std::array<GifColorType, kPaletteColorCount> colors{};
        for (std::size_t k = 0; k < colors.size(); ++k) {
            const ScreenColor color = palette.color(k);
            colors[k] = {redOf(color), greenOf(color), blueOf(color)};
        }
        map = GifMakeMapObject(static_cast<int>(colors.size()), colors.data());
        if (!map) invalid("no memory for the colour table");
    }
    MapObject(const MapObject&) = delete;
    MapObject& operator=(const MapObject&) = delete;
    ~MapObject() { GifFreeMapObject(map); }
    ColorMapObject* map = nullptr;
};

// The application extension that viewers read as "repeat without end".
void putLoopForever(GifWriter& writer) {
    static const GifByteType name[] = "NETSCAPE2.0";
    const GifByteType repeat[] = {1, 0, 0};
    writer.check(EGifPutExtensionLeader(writer.gif, APPLICATION_EXT_FUNC_CODE));
    writer.check(EGifPutExtensionBlock(writer.gif, 11, name));
    writer.check(EGifPutExtensionBlock(writer.gif, 3, repeat));
    writer.check(EGifPutExtensionTrailer(writer.gif));
}

void putFrame(GifWriter& writer, const SpriteImage& sprite) {
    const GraphicsControlBlock control{DISPOSE_BACKGROUND, false, kGifFrameDelay, 0};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    writer.check(EGifPutExtension(writer.gif, GRAPHICS_EXT_FUNC_CODE, 4, extension));
    // A frame has at least one pixel: an empty sprite is one transparent pixel.
    const bool empty = sprite.pixels.empty();
    const int width = empty ? 1 : sprite.width;
    const int height = empty ? 1 : sprite.height;
    writer.check(EGifPutImageDesc(writer.gif, 0, 0, width, height, false, nullptr));
    std::vector<GifPixelType> row(static_cast<std::size_t>(width), 0);
    for (int y = 0; y < height; ++y) {
        if (!empty) std::copy_n(&sprite.pixels[sprite.index(0, y)], width, row.begin());
        writer.check(EGifPutLine(writer.gif, row.data(), width));
    }
}

// ---- Reading ----

struct GifReader {
    explicit GifReader(std::span<const std::uint8_t> file) : rest(file) {
        int error = 0;
        gif = DGifOpen(this, &GifReader::read, &error);
        if (!gif) invalid(errorText(error));
    }
    GifReader(const GifReader&) = delete;
    GifReader& operator=(const GifReader&) = delete;
    ~GifReader() { DGifCloseFile(gif, nullptr); }

    void check(int result) const {
        if (result == GIF_ERROR) failed(gif);
    }

    static int read(GifFileType* gif, GifByteType* data, int length) {
        auto* reader = static_cast<GifReader*>(gif->UserData);
        const std::size_t count = std::min(reader->rest.size(), static_cast<std::size_t>(length));
        std::memcpy(data, reader->rest.data(), count);
        reader->rest = reader->rest.subspan(count);
        return static_cast<int>(count);
    }

    std::span<const std::uint8_t> rest;
    GifFileType* gif = nullptr;
};

ColorTable colorTableOf(const ColorMapObject* map, int transparent) {
    ColorTable table;
    if (!map) return table;
    for (int k = 0; k < map->ColorCount && k < 256; ++k) {
        const GifColorType& c = map->Colors[k];
        table.push_back({makeScreenColor(c.Red, c.Green, c.Blue), k != transparent});
    }
    return table;
}

// The screen as a viewer builds it, one frame after the other.
class GifScreen {
  public:
    GifScreen(int width, int height, const PaletteTable& palette)
        : m_canvas(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height)),
          m_palette(palette) {}

    void readFrame(GifReader& reader) {
        const GifImageDesc& frame = reader.gif->Image;
        // A frame larger than the screen would only be cut off: it is refused before its
        // pixels are read, so that a few bytes cannot ask for billions of pixels.
        const std::uint64_t pixels =
            std::uint64_t(std::max(frame.Width, 0)) * std::uint64_t(std::max(frame.Height, 0));
        if (pixels == 0 || pixels > std::uint64_t{m_canvas.width} * m_canvas.height)
            invalid("a frame of " + std::to_string(frame.Width) + " x " +
                    std::to_string(frame.Height) + " pixels");
        const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : reader.gif->SColorMap;
        if (!map) invalid("a frame without a colour table");
        const auto indices =
            paletteIndicesOf(colorTableOf(map, m_control.TransparentColor), m_palette);
        const SpriteImage before =
            m_control.DisposalMode == DISPOSE_PREVIOUS ? m_canvas : SpriteImage();
        std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
        for (const int y : rowOrder(frame.Height, frame.Interlace)) {
            reader.check(DGifGetLine(reader.gif, line.data(), frame.Width));
            for (int x = 0; x < frame.Width; ++x) {
                if (line[static_cast<std::size_t>(x)] == m_control.TransparentColor) continue;
                const int sx = frame.Left + x;
                const int sy = frame.Top + y;
                if (m_canvas.contains(sx, sy))
                    m_canvas.at(sx, sy) = indices[line[static_cast<std::size_t>(x)]];
            }
        }
        frames.push_back(m_canvas);
        dispose(frame, before);
        m_control = {};
    }

    void readControl(const GifByteType* extension) {
        if (extension[0] < 4) return;
        DGifExtensionToGCB(extension[0], extension + 1, &m_control);
    }

    std::vector<SpriteImage> frames;

  private:
    // The rows of an interlaced frame come in four passes.
    static std::vector<int> rowOrder(int height, bool interlaced) {
        std::vector<int> rows;
        rows.reserve(static_cast<std::size_t>(height));
        if (!interlaced) {
            for (int y = 0; y < height; ++y) rows.push_back(y);
            return rows;
        }
        constexpr int starts[] = {0, 4, 2, 1};
        constexpr int steps[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = starts[pass]; y < height; y += steps[pass]) rows.push_back(y);
        return rows;
    }

    void dispose(const GifImageDesc& frame, const SpriteImage& before) {
        if (m_control.DisposalMode == DISPOSE_PREVIOUS) {
            m_canvas = before;
        } else if (m_control.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = std::max(0, frame.Top); y < frame.Top + frame.Height; ++y)
                for (int x = std::max(0, frame.Left); x < frame.Left + frame.Width; ++x)
                    if (m_canvas.contains(x, y)) m_canvas.at(x, y) = 0;
        }
    }

    SpriteImage m_canvas;
    const PaletteTable& m_palette;
    GraphicsControlBlock m_control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
};

// Reads past an extension, keeping only a frame's timing and transparency; one that holds more
// than any picture needs is refused, so that a few bytes cannot keep the reader busy.
void skipExtension(GifReader& reader, GifScreen& screen) {
    int code = 0;
    GifByteType* extension = nullptr;
    reader.check(DGifGetExtension(reader.gif, &code, &extension));
    if (code == GRAPHICS_EXT_FUNC_CODE && extension) screen.readControl(extension);
    std::size_t bytes = 0;
    while (extension) {
        bytes += extension[0];
        if (bytes > kMaxGifExtensionBytes)
            invalid("an extension of more than " + std::to_string(kMaxGifExtensionBytes) +
                    " bytes");
        reader.check(DGifGetExtensionNext(reader.gif, &extension));
    }
}

}  // namespace

bool gifBuiltIn() { return true; }

std::vector<std::uint8_t> encodeSpriteGif(std::span<const SpriteImage> frames,
                                          const PaletteTable& palette, bool loops) {
    if (frames.empty()) invalid("no frames");
    int width = 1;
    int height = 1;
    for (const SpriteImage& sprite : frames) {
        width = std::max<int>(width, sprite.width);
        height = std::max<int>(height, sprite.height);
    }
    GifWriter writer;
    EGifSetGifVersion(writer.gif, true);
    const MapObject map(palette);
    writer.check(EGifPutScreenDesc(writer.gif, width, height, 8, 0, map.map));
    if (loops) putLoopForever(writer);
    for (const SpriteImage& sprite : frames) putFrame(writer, sprite);
    return writer.finish();
}

std::vector<SpriteImage> decodeSpriteGif(std::span<const std::uint8_t> file,
                                         const PaletteTable& palette) {
    if (!hasGifSignature(file)) invalid("no GIF signature");
    GifReader reader(file);
    const std::uint64_t screenPixels = std::uint64_t(reader.gif->SWidth) * reader.gif->SHeight;
    if (screenPixels == 0 || screenPixels > kMaxSpritePixels)
        invalid(std::to_string(reader.gif->SWidth) + " x " + std::to_string(reader.gif->SHeight) +
                " pixels");
    GifScreen screen(reader.gif->SWidth, reader.gif->SHeight, palette);
    std::size_t extensions = 0;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        reader.check(DGifGetRecordType(reader.gif, &record));
        if (record == TERMINATE_RECORD_TYPE) break;
        if (record == EXTENSION_RECORD_TYPE) {
            if (++extensions > kMaxGifExtensions)
                invalid("more than " + std::to_string(kMaxGifExtensions) + " extensions");
            skipExtension(reader, screen);
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            if (screen.frames.size() == kMaxGifFrames)
                invalid("more than " + std::to_string(kMaxGifFrames) + " frames");
            if ((screen.frames.size() + 1) * screenPixels > kMaxGifImportPixels)
                invalid("frames of more than " + std::to_string(kMaxGifImportPixels) +
                        " pixels in all");
            reader.check(DGifGetImageDesc(reader.gif));
            screen.readFrame(reader);
        }
    }
    if (screen.frames.empty()) invalid("no frames");
    return std::move(screen.frames);
}

#else

namespace {
[[noreturn]] void gifNotBuiltIn() { throw VekError(Msg::GifNotBuiltIn); }
}  // namespace

bool gifBuiltIn() { return false; }
std::vector<std::uint8_t> encodeSpriteGif(std::span<const SpriteImage>, const PaletteTable&, bool) {
    gifNotBuiltIn();
}
std::vector<SpriteImage> decodeSpriteGif(std::span<const std::uint8_t>, const PaletteTable&) {
    gifNotBuiltIn();
}

#endif

}  // namespace vek
