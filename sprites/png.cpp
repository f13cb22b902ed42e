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

RgbImage decodePng(std::span<const std::uint8_t> file, ScreenColor background) {
    if (!hasPngSignature(file)) invalid("no PNG signature");
    PngImage png;
    if (!png_image_begin_read_from_memory(png.get(), file.data(), file.size()))
        invalid(png.message());
    const std::uint64_t pixels = std::uint64_t{png->width} * png->height;
    if (png->width == 0 || png->height == 0 || pixels > kMaxBitmapPixels)
        invalid(std::to_string(png->width) + " x " + std::to_string(png->height) + " pixels");
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
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(*png.get());
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(png.get(), bytes.data(), &size, 0, rgb.data(), 0, nullptr))
        invalid(png.message());
    bytes.resize(size);
    return bytes;
}

#else

namespace {
[[noreturn]] void notBuiltIn() { throw VekError(Msg::PngNotBuiltIn); }
}  // namespace

bool pngBuiltIn() { return false; }
RgbImage decodePng(std::span<const std::uint8_t>, ScreenColor) { notBuiltIn(); }
std::vector<std::uint8_t> encodePng(const RgbImage&) { notBuiltIn(); }

#endif

}  // namespace vek
