#pragma once

#include <optional>

#include "app/rgb_image.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"

namespace vek {

// The sprite editor's pictures as screen pixels, shared by the window and the command line so
// that both show and export the same pixels.

inline constexpr int kMaxZoom = 16;
inline constexpr int kPaletteAreaWidth = 320;
inline constexpr int kPaletteAreaHeight = 80;
inline constexpr int kPaletteCellPitch = 10;  // 9 x 9 cells and a one-pixel gap
inline constexpr int kPaletteRows = 8;
inline constexpr ScreenColor kPaletteOutline = makeScreenColor(128, 128, 128);
inline constexpr ScreenColor kPaletteGap = makeScreenColor(255, 255, 255);
inline constexpr int kInfoPageWidth = 297;
inline constexpr int kInfoPageHeight = 285;

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
};

bool isValidZoom(int zoom);  // 1, 2, 4, 8 or 16

// The largest drawing area the program builds (as many pixels as the largest bitmap it reads).
inline constexpr std::uint64_t kMaxDrawingAreaPixels = std::uint64_t{1} << 26;
bool drawingAreaFits(int width, int height, int zoom);
// Throws the refusal of a drawing area that does not fit.
void requireDrawingAreaFits(int width, int height, int zoom);

// The drawing area: (w * zoom) x (h * zoom), filled with the background, every pixel whose
// palette colour is not pure black painted as a zoom x zoom block. Index 0 and pure-black
// colours therefore show the background. `area` is reused to spare a large allocation. An area
// beyond kMaxDrawingAreaPixels throws and leaves `area` as it was.
void renderDrawingArea(const SpriteImage& sprite, const PaletteTable& palette, int zoom,
                       ScreenColor background, RgbImage& area);
RgbImage renderDrawingArea(const SpriteImage& sprite, const PaletteTable& palette, int zoom,
                           ScreenColor background);

// The block of sprite pixel (x, y) at this zoom.
constexpr PixelRect spritePixelBlock(int x, int y, int zoom) {
    return {x * zoom, y * zoom, zoom, zoom};
}

// Paints one block while drawing (black included: the transparency rule is only the redraw's)
// and returns the rectangle that changed.
PixelRect paintBlock(RgbImage& area, int x, int y, int zoom, ScreenColor color);

// The sprite pixel under a point of the drawing area, or nothing when the point lies outside
// the sprite (the mouse reports such points while a button is held).
std::optional<std::pair<int, int>> spritePixelAt(int pointX, int pointY, int zoom, int width,
                                                 int height);

// The palette area: 32 columns of 8 cells, colour k in column k / 8 and row k % 8, each cell a
// grey outline around the colour with a one-pixel gap to the next.
RgbImage renderPaletteArea(const PaletteTable& palette);
void drawPaletteCell(RgbImage& area, const PaletteTable& palette, int index);
PixelRect paletteCellRect(int index);
// The palette index under a point of the area, or nothing outside it.
std::optional<int> paletteIndexAt(int pointX, int pointY);

// The info page shown before any sprite: a red gradient from 254 in row 0 down to black at
// row 254, black below. The window writes the title on it.
RgbImage renderInfoPage();

}  // namespace vek
