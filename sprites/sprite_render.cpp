#include "sprites/sprite_render.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

void fillRect(RgbImage& image, const PixelRect& rect, ScreenColor color) {
    const int left = std::max(rect.x, 0);
    const int right = std::min(rect.x + rect.width, image.width);
    if (left >= right) return;
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.height, image.height); ++y) {
        std::fill_n(&image.at(left, y), right - left, color);
    }
}

}  // namespace

bool isValidZoom(int zoom) {
    return zoom == 1 || zoom == 2 || zoom == 4 || zoom == 8 || zoom == 16;
}

bool drawingAreaFits(int width, int height, int zoom) {
    if (!isValidZoom(zoom) || width < 0 || height < 0) return false;
    const auto side = static_cast<std::uint64_t>(zoom);
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * side * side <=
           kMaxDrawingAreaPixels;
}

void requireDrawingAreaFits(int width, int height, int zoom) {
    if (drawingAreaFits(width, height, zoom)) return;
    const std::string sprite = std::to_string(width) + "X" + std::to_string(height);
    const std::string percent = std::to_string(zoom * 100);
    throw VekError(fill(Msg::SpriteTooLargeForZoom, {sprite, percent}));
}

void renderDrawingArea(const SpriteImage& sprite, const PaletteTable& palette, int zoom,
                       ScreenColor background, RgbImage& area) {
    requireDrawingAreaFits(sprite.width, sprite.height, zoom);
    const int width = sprite.width * zoom;
    const int height = sprite.height * zoom;
    area.width = width;
    area.height = height;
    area.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    if (area.pixels.empty()) return;  // a sprite with a side of 0 has no pixel to draw
    const auto rowLength = static_cast<std::size_t>(width);
    // Each sprite row is built once as a screen row and then copied for the zoom's other rows.
    for (int y = 0; y < sprite.height; ++y) {
        ScreenColor* first =
            &area.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(zoom) * rowLength];
        ScreenColor* out = first;
        for (int x = 0; x < sprite.width; ++x) {
            const ScreenColor color = palette[sprite.at(x, y)];
            out = std::fill_n(out, zoom, color == 0 ? background : color);
        }
        for (int copy = 1; copy < zoom; ++copy) {
            std::memcpy(first + static_cast<std::size_t>(copy) * rowLength, first,
                        rowLength * sizeof(ScreenColor));
        }
    }
}

RgbImage renderDrawingArea(const SpriteImage& sprite, const PaletteTable& palette, int zoom,
                           ScreenColor background) {
    RgbImage area;
    renderDrawingArea(sprite, palette, zoom, background, area);
    return area;
}

PixelRect paintBlock(RgbImage& area, int x, int y, int zoom, ScreenColor color) {
    const PixelRect block = spritePixelBlock(x, y, zoom);
    fillRect(area, block, color);
    return block;
}

std::optional<std::pair<int, int>> spritePixelAt(int pointX, int pointY, int zoom, int width,
                                                 int height) {
    if (pointX < 0 || pointY < 0 || zoom <= 0) return std::nullopt;
    const int x = pointX / zoom;
    const int y = pointY / zoom;
    if (x >= width || y >= height) return std::nullopt;
    return std::pair{x, y};
}

PixelRect paletteCellRect(int index) {
    return {kPaletteCellPitch * (index / kPaletteRows), kPaletteCellPitch * (index % kPaletteRows),
            kPaletteCellPitch - 1, kPaletteCellPitch - 1};
}

void drawPaletteCell(RgbImage& area, const PaletteTable& palette, int index) {
    const PixelRect cell = paletteCellRect(index);
    fillRect(area, cell, kPaletteOutline);
    fillRect(area, {cell.x + 1, cell.y + 1, cell.width - 2, cell.height - 2},
             palette.color(static_cast<std::size_t>(index)));
}

RgbImage renderPaletteArea(const PaletteTable& palette) {
    RgbImage area(kPaletteAreaWidth, kPaletteAreaHeight, kPaletteGap);
    for (int k = 0; k < static_cast<int>(kPaletteColorCount); ++k)
        drawPaletteCell(area, palette, k);
    return area;
}

std::optional<int> paletteIndexAt(int pointX, int pointY) {
    if (pointX < 0 || pointY < 0 || pointX >= kPaletteAreaWidth || pointY >= kPaletteAreaHeight)
        return std::nullopt;
    return (pointX / kPaletteCellPitch) * kPaletteRows + pointY / kPaletteCellPitch;
}

RgbImage renderInfoPage() {
    RgbImage page(kInfoPageWidth, kInfoPageHeight, 0);
    // Filling ever shorter rectangles with ever stronger red leaves red 254 - y in row y.
    for (int y = 0; y < 255; ++y)
        fillRect(page, {0, y, kInfoPageWidth, 1},
                 makeScreenColor(static_cast<std::uint8_t>(254 - y), 0, 0));
    return page;
}

}  // namespace vek
