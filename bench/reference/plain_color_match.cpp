#include "bench/reference/plain_color_match.h"

namespace vek::reference {

ScreenColor quantise(ScreenColor color, std::uint32_t step) {
    const std::uint32_t red = color % 256;
    const std::uint32_t green = (color / 256) % 256;
    const std::uint32_t blue = color / 65536;
    return red / step * step + 256 * (green / step * step) + 65536 * (blue / step * step);
}

std::uint8_t plainMatchColor(std::span<const ScreenColor, 256> palette, ScreenColor target,
                             std::uint32_t firstStep) {
    std::uint32_t step = firstStep;
    for (;;) {
        if (quantise(palette[0], step) == target) return 0;
        for (std::uint32_t index = 11; index <= 255; ++index) {
            if (quantise(palette[index], step) == target) return static_cast<std::uint8_t>(index);
        }
        step *= 2;
        target = quantise(target, step);
    }
}

std::vector<std::uint8_t> plainMatchPicture(std::span<const ScreenColor, 256> palette,
                                            const RgbImage& picture, std::uint32_t firstStep) {
    std::vector<std::uint8_t> indices;
    indices.reserve(picture.pixels.size());
    for (ScreenColor pixel : picture.pixels)
        indices.push_back(plainMatchColor(palette, pixel, firstStep));
    return indices;
}

}  // namespace vek::reference
