#include "sprites/png.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/text_names.h"
#include "app/vek_error.h"
#include "sprites/bitmap.h"

#ifdef VEK_HAVE_PNG
#include <png.h>
#endif

namespace vek {

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

#ifdef VEK_HAVE_PNG

constexpr std::uint8_t kOpaqueFrom = 128;

[[noreturn]] void invalid(const std::string& reason) {
    throw VekError(fill(Msg::PngInvalid, {reason}));
}

// libpng's simplified interface keeps its error jumps inside itself and reports by return value.
class PngImage {
  public:
    PngImage() {
        m_image.version = PNG_IMAGE_VERSION;
        m_image.opaque = nullptr;
    }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    ~PngImage() { png_image_free(&m_image); }

    png_image* operator->() { return &m_image; }
    png_image* get() { return &m_image; }
    std::string message() const { return m_image.message; }

  private:
    png_image m_image{};
};

// What a picture may make libpng keep besides its pixels: text, colour profiles and chunks
// of other programs are never needed, so they are skipped without being read into memory.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t{1} << 20;
constexpr png_uint_32 kMaxStoredChunks = 64;
constexpr png_byte kUnusedChunks[] =
    "bKGD\0eXIf\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0sTER\0tEXt\0tIME\0zTXt";

// Pictures are read through libpng's full interface: only it takes limits, and a chunk that
// claims gigabytes must cost neither memory nor time. libpng's errors jump back to the setjmp of
// the step under way; the frames in between hold nothing that needs destroying.
class PngReader {
  public:
    PngReader(std::span<const std::uint8_t> file, std::uint64_t maxPixels)
        : m_structs(this), m_png(m_structs.png), m_info(m_structs.info), m_rest(file) {
        if (!hasPngSignature(file)) invalid("no PNG signature");
        if (!m_info) invalid("no memory for the reader");
        png_set_read_fn(m_png, this, &PngReader::readBytes);
        limit(maxPixels);
        check(guarded(m_png, [this] { png_read_info(m_png, m_info); }));
        const std::uint64_t pixels = std::uint64_t{width()} * height();
        if (width() == 0 || height() == 0 || pixels > maxPixels)
            invalid(std::to_string(width()) + " x " + std::to_string(height()) + " pixels");
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_uint_32 width() const { return png_get_image_width(m_png, m_info); }
    png_uint_32 height() const { return png_get_image_height(m_png, m_info); }
    bool hasPalette() const { return png_get_color_type(m_png, m_info) == PNG_COLOR_TYPE_PALETTE; }

    // The pixels as 8-bit RGBA: palettes, grey and low depths expanded, 16 bits scaled, a
    // picture's gamma brought to the screen's (sRGB, which is also taken where none is given).
    std::vector<std::uint8_t> rgbaPixels() {
        check(guarded(m_png, [this] {
            png_set_expand(m_png);
            png_set_scale_16(m_png);
            png_set_gray_to_rgb(m_png);
            png_set_add_alpha(m_png, 0xFF, PNG_FILLER_AFTER);
            png_set_alpha_mode_fixed(m_png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
        }));
        return pixels(4);
    }

    // A palette picture's indices as stored, one byte each whatever the depth.
    std::vector<std::uint8_t> paletteIndices() {
        check(guarded(m_png, [this] { png_set_packing(m_png); }));
        return pixels(1);
    }

    // The palette with its transparency entries (tRNS).
    ColorTable colorTable() const {
        png_colorp palette = nullptr;
        int entries = 0;
        png_get_PLTE(m_png, m_info, &palette, &entries);
        png_bytep alpha = nullptr;
        int alphas = 0;
        png_get_tRNS(m_png, m_info, &alpha, &alphas, nullptr);
        ColorTable table;
        for (int k = 0; k < entries && k < 256; ++k) {
            const png_color& c = palette[k];
            table.push_back(
                {makeScreenColor(c.red, c.green, c.blue), k >= alphas || alpha[k] >= kOpaqueFrom});
        }
        return table;
    }

  private:
    // libpng's two structures, freed however the constructor ends.
    struct Structs {
        explicit Structs(PngReader* reader)
            : png(png_create_read_struct(PNG_LIBPNG_VER_STRING, reader, &PngReader::fail,
                                         &PngReader::ignoreWarning)),
              info(png ? png_create_info_struct(png) : nullptr) {}
        Structs(const Structs&) = delete;
        Structs& operator=(const Structs&) = delete;
        ~Structs() { png_destroy_read_struct(&png, &info, nullptr); }
        png_structp png;
        png_infop info;
    };

    // Bounds beyond the pixel limit: chunks the picture does not need are skipped unread
    // (never allocated, whatever length they claim), and no chunk that is kept, nor any
    // compressed text libpng unpacks, may take more than a megabyte.
    void limit(std::uint64_t maxPixels) {
        const auto side =
            static_cast<png_uint_32>(std::min<std::uint64_t>(maxPixels, PNG_UINT_31_MAX));
        png_set_user_limits(m_png, side, side);
        png_set_chunk_cache_max(m_png, kMaxStoredChunks);
        png_set_chunk_malloc_max(m_png, kMaxChunkBytes);
        png_set_keep_unknown_chunks(m_png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
        png_set_keep_unknown_chunks(m_png, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks,
                                    static_cast<int>(sizeof kUnusedChunks / 5));
    }

    std::vector<std::uint8_t> pixels(std::size_t bytesPerPixel) {
        check(guarded(m_png, [this] {
            png_set_interlace_handling(m_png);
            png_read_update_info(m_png, m_info);
        }));
        const std::size_t rowBytes = std::size_t{width()} * bytesPerPixel;
        if (png_get_rowbytes(m_png, m_info) != rowBytes) invalid("an unexpected pixel layout");
        std::vector<std::uint8_t> pixels(rowBytes * height());
        std::vector<png_bytep> rows(height());
        for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = &pixels[y * rowBytes];
        check(guarded(m_png, [this, &rows] {
            png_read_image(m_png, rows.data());
            png_read_end(m_png, nullptr);
        }));
        return pixels;
    }

    template <typename Step>
    static bool guarded(png_structp png, const Step& step) {
        if (setjmp(png_jmpbuf(png))) return false;
        step();
        return true;
    }
    void check(bool done) const {
        if (!done) invalid(m_message);
    }

    static void readBytes(png_structp png, png_bytep data, std::size_t length) {
        auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
        if (length > reader->m_rest.size()) png_error(png, "read beyond end of data");
        std::memcpy(data, reader->m_rest.data(), length);
        reader->m_rest = reader->m_rest.subspan(length);
    }
    static void fail(png_structp png, png_const_charp message) {
        auto* reader = static_cast<PngReader*>(png_get_error_ptr(png));
        std::snprintf(reader->m_message, sizeof reader->m_message, "%s", message);
        png_longjmp(png, 1);
    }
    static void ignoreWarning(png_structp, png_const_charp) {}

    Structs m_structs;
    png_structp m_png;
    png_infop m_info;
    std::span<const std::uint8_t> m_rest;
    char m_message[200] = "libpng gave up";
};

#endif

}  // namespace

bool hasPngSignature(std::span<const std::uint8_t> file) {
    return file.size() >= kPngSignature.size() &&
           std::equal(kPngSignature.begin(), kPngSignature.end(), file.begin());
}

#ifdef VEK_HAVE_PNG

bool pngBuiltIn() { return true; }

namespace {

// Writes the pixels in `png`'s format, compressed once into room for the largest result.
std::vector<std::uint8_t> writeToMemory(PngImage& png, const void* pixels,
                                        const void* colormap = nullptr) {
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(*png.get());
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(png.get(), bytes.data(), &size, 0, pixels, 0, colormap))
        invalid(png.message());
    bytes.resize(size);
    return bytes;
}

}  // namespace

RgbImage decodePng(std::span<const std::uint8_t> file, ScreenColor background) {
    PngReader png(file, kMaxBitmapPixels);
    const std::vector<std::uint8_t> rgba = png.rgbaPixels();
    RgbImage image(static_cast<int>(png.width()), static_cast<int>(png.height()));
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint8_t* pixel = &rgba[4 * i];
        image.pixels[i] =
            pixel[3] < kOpaqueFrom ? background : makeScreenColor(pixel[0], pixel[1], pixel[2]);
    }
    return image;
}

std::vector<std::uint8_t> encodePng(const RgbImage& image) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (const ScreenColor color : image.pixels) {
        rgb.push_back(redOf(color));
        rgb.push_back(greenOf(color));
        rgb.push_back(blueOf(color));
    }
    PngImage png;
    png->width = static_cast<png_uint_32>(image.width);
    png->height = static_cast<png_uint_32>(image.height);
    png->format = PNG_FORMAT_RGB;
    // Someone waits for every picture written (a file manager for its thumbnail): speed first,
    // at the cost of a somewhat larger file.
    png->flags = PNG_IMAGE_FLAG_FAST;
    // Room for the largest result, so that the picture is compressed once: asking for the exact
    // size first would compress it twice.
    return writeToMemory(png, rgb.data());
}

std::vector<std::uint8_t> encodeIndexedPng(const IndexedPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0)
        invalid(std::to_string(picture.width) + " x " + std::to_string(picture.height) + " pixels");
    if (picture.table.empty() || picture.table.size() > 256) invalid("no colour table");
    if (picture.indices.size() != std::size_t(picture.width) * std::size_t(picture.height))
        invalid("the pixels do not fill the picture");
    std::vector<std::uint8_t> colormap;
    colormap.reserve(picture.table.size() * 4);
    for (const TableColor& entry : picture.table) {
        colormap.insert(colormap.end(),
                        {redOf(entry.color), greenOf(entry.color), blueOf(entry.color),
                         entry.opaque ? std::uint8_t{255} : std::uint8_t{0}});
    }
    PngImage png;
    png->width = static_cast<png_uint_32>(picture.width);
    png->height = static_cast<png_uint_32>(picture.height);
    png->format = PNG_FORMAT_RGBA_COLORMAP;
    png->colormap_entries = static_cast<png_uint_32>(picture.table.size());
    return writeToMemory(png, picture.indices.data(), colormap.data());
}

std::optional<IndexedPicture> decodeIndexedPng(std::span<const std::uint8_t> file,
                                               std::uint64_t maxPixels) {
    PngReader png(file, maxPixels);
    if (!png.hasPalette()) return std::nullopt;
    IndexedPicture picture;
    picture.width = static_cast<int>(png.width());
    picture.height = static_cast<int>(png.height());
    picture.indices = png.paletteIndices();
    picture.table = png.colorTable();
    return picture;
}

#else

namespace {
[[noreturn]] void pngNotBuiltIn() { throw VekError(Msg::PngNotBuiltIn); }
}  // namespace

bool pngBuiltIn() { return false; }
RgbImage decodePng(std::span<const std::uint8_t>, ScreenColor) { pngNotBuiltIn(); }
std::vector<std::uint8_t> encodePng(const RgbImage&) { pngNotBuiltIn(); }
std::vector<std::uint8_t> encodeIndexedPng(const IndexedPicture&) { pngNotBuiltIn(); }
std::optional<IndexedPicture> decodeIndexedPng(std::span<const std::uint8_t>, std::uint64_t) {
    pngNotBuiltIn();
}

#endif

}  // namespace vek
