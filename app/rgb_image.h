#pragma once

#include <cstdint>
#include <vector>

namespace vek {

// A screen colour as the game and VEK.INI store it: red in the low byte, then green, then blue.
using ScreenColor = std::uint32_t;

constexpr ScreenColor makeScreenColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ScreenColor{red} | ScreenColor{green} << 8 | ScreenColor{blue} << 16;
}
constexpr std::uint8_t redOf(ScreenColor color) { return color & 0xFF; }
constexpr std::uint8_t greenOf(ScreenColor color) { return (color >> 8) & 0xFF; }
constexpr std::uint8_t blueOf(ScreenColor color) { return (color >> 16) & 0xFF; }

// A picture of screen colours, rows top-down. The core renders into it; windows and the
// command line show or save exactly these pixels.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<ScreenColor> pixels;  // width * height, row by row from the top

    RgbImage() = default;
    RgbImage(int w, int h, ScreenColor fill = 0)
        : width(w),
          height(h),
          pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    ScreenColor& at(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    ScreenColor at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

}  // namespace vek
