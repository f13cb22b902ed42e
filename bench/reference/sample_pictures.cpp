#include "bench/reference/sample_pictures.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace vek::reference {

namespace {

std::uint8_t clampComponent(double value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

}  // namespace

PaletteTable gameLikePalette(ScreenColor background) {
    PaletteTable table;
    // Slots 1 to 10: strong colours, one of which repeats later in the table.
    const ScreenColor strong[10] = {paletteEntryColor(63, 0, 0),   paletteEntryColor(0, 63, 0),
                                    paletteEntryColor(0, 0, 63),   paletteEntryColor(63, 63, 0),
                                    paletteEntryColor(40, 20, 10), paletteEntryColor(0, 63, 63),
                                    paletteEntryColor(63, 0, 63),  paletteEntryColor(32, 32, 32),
                                    paletteEntryColor(10, 40, 20), paletteEntryColor(63, 63, 63)};
    for (std::size_t i = 0; i < 10; ++i) table.setColor(i + 1, strong[i]);
    // Slots 11 to 250: 16 hues of 15 shades each, from dark to light.
    const int hues[16][3] = {{63, 0, 0},   {63, 32, 0},  {63, 63, 0},  {32, 63, 0},
                             {0, 63, 0},   {0, 63, 32},  {0, 63, 63},  {0, 32, 63},
                             {0, 0, 63},   {32, 0, 63},  {63, 0, 63},  {63, 0, 32},
                             {63, 48, 40}, {40, 32, 20}, {20, 40, 30}, {48, 48, 48}};
    std::size_t slot = 11;
    for (const auto& hue : hues) {
        for (int shade = 1; shade <= 15; ++shade) {
            auto part = [&](int c) { return static_cast<std::uint8_t>(c * shade / 15); };
            table.setColor(slot++, paletteEntryColor(part(hue[0]), part(hue[1]), part(hue[2])));
        }
    }
    // Slots 251 to 255: black, white, and repeats of earlier colours.
    table.setColor(251, 0);
    table.setColor(252, paletteEntryColor(63, 63, 63));
    table.setColor(253, paletteEntryColor(40, 20, 10));  // slot 5's colour
    table.setColor(254, table[20]);
    table.setColor(255, table[100]);
    table.setBackground(background);
    return table;
}

PaletteTable randomPalette(unsigned seed, ScreenColor background) {
    PaletteTable table;
    std::mt19937 random(seed);
    for (std::size_t i = 1; i < 256; ++i) table.setColor(i, random() & 0xFFFFFF);
    table.setBackground(background);
    return table;
}

RgbImage photographicPicture(int width, int height, unsigned seed) {
    RgbImage picture(width, height);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 4.0);
    std::uniform_real_distribution<double> phase(0.0, 6.28);
    const double p1 = phase(random), p2 = phase(random), p3 = phase(random);
    for (int y = 0; y < height; ++y) {
        const double v = static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width;
            // Sky above a wavy horizon, a lit hillside below, with fine texture on the ground.
            const double horizon = 0.45 + 0.08 * std::sin(7 * u + p1);
            double r, g, b;
            if (v < horizon) {
                const double t = v / horizon;
                r = 90 + 100 * t + 20 * std::sin(3 * u + p2);
                g = 140 + 80 * t;
                b = 230 - 30 * t;
            } else {
                const double t = (v - horizon) / (1 - horizon);
                const double texture =
                    25 * std::sin(40 * u + 13 * v + p3) * std::sin(31 * v - 5 * u);
                const double light = 0.6 + 0.4 * std::cos(5 * u - 3 * t + p2);
                r = (70 + 90 * t + texture) * light;
                g = (120 + 60 * std::sin(9 * u + p1) + texture) * light;
                b = (40 + 40 * t) * light;
            }
            picture.at(x, y) = makeScreenColor(clampComponent(r + noise(random)),
                                               clampComponent(g + noise(random)),
                                               clampComponent(b + noise(random)));
        }
    }
    return picture;
}

}  // namespace vek::reference
