#include "sprites/png.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/text_names.h"
#include "app/vek_error.h"
#include "sprites/bitmap.h"

#ifdef VEK_HAVE_PNG
#include <png.h>
#endif

namespace vek {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

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

#endif

}  // namespace

bool hasPngSignature(std::span<const std::uint8_t> file) {
    return file.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), file.begin());
}

#ifdef VEK_HAVE_PNG

bool pngBuiltIn() { return true; }

namespace {

// Reads the header and refuses a picture of no or too many pixels before any pixel is read.
void beginRead(PngImage& png, std::span<const std::uint8_t> file, std::uint64_t maxPixels) {
    if (!hasPngSignature(file)) invalid("no PNG signature");
    if (!png_image_begin_read_from_memory(png.get(), file.data(), file.size()))
        invalid(png.message());
    const std::uint64_t pixels = std::uint64_t{png->width} * png->height;
    if (png->width == 0 || png->height == 0 || pixels > maxPixels)
        invalid(std::to_string(png->width) + " x " + std::to_string(png->height) + " pixels");
}

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
    PngImage png;
    beginRead(png, file, kMaxBitmapPixels);
    png->format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(*png.get()));
    if (!png_image_finish_read(png.get(), nullptr, rgba.data(), 0, nullptr)) invalid(png.message());

    RgbImage image(static_cast<int>(png->width), static_cast<int>(png->height));
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
    PngImage png;
    beginRead(png, file, maxPixels);
    if ((png->format & PNG_FORMAT_FLAG_COLORMAP) == 0) return std::nullopt;
    // A palette file's table comes through as it is, index for index, with its tRNS alpha.
    png->format = PNG_FORMAT_RGBA_COLORMAP;
    IndexedPicture picture;
    picture.width = static_cast<int>(png->width);
    picture.height = static_cast<int>(png->height);
    picture.indices.resize(PNG_IMAGE_SIZE(*png.get()));
    std::array<std::uint8_t, 256 * 4> colormap{};
    png->colormap_entries = 256;
    if (!png_image_finish_read(png.get(), nullptr, picture.indices.data(), 0, colormap.data()))
        invalid(png.message());
    const std::size_t entries = std::min<std::size_t>(png->colormap_entries, 256);
    for (std::size_t k = 0; k < entries; ++k) {
        const std::uint8_t* entry = &colormap[4 * k];
        picture.table.push_back(
            {makeScreenColor(entry[0], entry[1], entry[2]), entry[3] >= kOpaqueFrom});
    }
    return picture;
}

#else

namespace {
[[noreturn]] void notBuiltIn() { throw VekError(Msg::PngNotBuiltIn); }
}  // namespace

bool pngBuiltIn() { return false; }
RgbImage decodePng(std::span<const std::uint8_t>, ScreenColor) { notBuiltIn(); }
std::vector<std::uint8_t> encodePng(const RgbImage&) { notBuiltIn(); }
std::vector<std::uint8_t> encodeIndexedPng(const IndexedPicture&) { notBuiltIn(); }
std::optional<IndexedPicture> decodeIndexedPng(std::span<const std::uint8_t>, std::uint64_t) {
    notBuiltIn();
}

#endif

}  // namespace vek
