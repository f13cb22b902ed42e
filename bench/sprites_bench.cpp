#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "bench/reference/plain_sprite_render.h"
#include "sprites/sprite_document.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_render.h"

namespace {

using namespace vek;

PaletteTable benchPalette() {
    PaletteTable palette;
    for (std::size_t k = 1; k < kPaletteColorCount; ++k) {
        palette.setColor(k, makeScreenColor(static_cast<std::uint8_t>(k),
                                            static_cast<std::uint8_t>(255 - k), 64));
    }
    palette.setColor(11, 0);
    palette.setBackground(0xFFFFFF);
    return palette;
}

SpriteImage noisySprite(std::uint16_t width, std::uint16_t height) {
    SpriteImage sprite(width, height);
    std::mt19937 random(7);
    for (auto& pixel : sprite.pixels) pixel = static_cast<std::uint8_t>(random());
    return sprite;
}

// Selecting, zooming or recolouring a 300 x 300 sprite at zoom 16 rebuilds 4800 x 4800 pixels.
void BM_RebuildDrawingArea(benchmark::State& state) {
    const SpriteImage sprite = noisySprite(300, 300);
    const PaletteTable palette = benchPalette();
    const int zoom = static_cast<int>(state.range(0));
    RgbImage area;
    for (auto _ : state) {
        renderDrawingArea(sprite, palette, zoom, 0xFFFFFF, area);
        benchmark::DoNotOptimize(area.pixels.data());
    }
    state.counters["pixels"] = static_cast<double>(area.pixels.size());
}
BENCHMARK(BM_RebuildDrawingArea)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

// The same with a fresh picture each time (the first selection after start).
void BM_RebuildDrawingAreaFresh(benchmark::State& state) {
    const SpriteImage sprite = noisySprite(300, 300);
    const PaletteTable palette = benchPalette();
    for (auto _ : state)
        benchmark::DoNotOptimize(renderDrawingArea(sprite, palette, 16, 0xFFFFFF).pixels.data());
}
BENCHMARK(BM_RebuildDrawingAreaFresh)->Unit(benchmark::kMillisecond);

// The plain pixel-by-pixel rebuild, for comparison.
void BM_RebuildDrawingAreaPlain(benchmark::State& state) {
    const SpriteImage sprite = noisySprite(300, 300);
    const PaletteTable palette = benchPalette();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            reference::plainDrawingArea(sprite, palette, 16, 0xFFFFFF).pixels.data());
    }
}
BENCHMARK(BM_RebuildDrawingAreaPlain)->Unit(benchmark::kMillisecond);

// A stroke across the 4800 x 4800 area: each reported position paints one 16 x 16 block and
// nothing else; the counter shows how few pixels a stroke touches against a rebuild.
void BM_PaintStroke(benchmark::State& state) {
    const SpriteImage sprite = noisySprite(300, 300);
    const PaletteTable palette = benchPalette();
    RgbImage area = renderDrawingArea(sprite, palette, 16, 0xFFFFFF);
    constexpr int kPositions = 300;
    std::int64_t touched = 0;
    for (auto _ : state) {
        touched = 0;
        for (int i = 0; i < kPositions; ++i) {
            const PixelRect block =
                paintBlock(area, i, i, 16, palette[static_cast<std::uint8_t>(i)]);
            touched += static_cast<std::int64_t>(block.width) * block.height;
        }
        benchmark::DoNotOptimize(area.pixels.data());
    }
    state.counters["pixels_per_stroke"] = static_cast<double>(touched);
    state.counters["pixels_per_rebuild"] = static_cast<double>(area.pixels.size());
}
BENCHMARK(BM_PaintStroke)->Unit(benchmark::kMicrosecond);

// The same stroke as the sprite editor paints it: through the sprite document, whose observer
// paints each changed pixel's block.
void BM_PaintStrokeThroughDocument(benchmark::State& state) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("vek_bench_stroke_" + std::to_string(std::random_device{}()) + ".spr");
    writeSpriteFile(file, std::vector<SpriteImage>{noisySprite(300, 300)});
    SpriteDocument document;
    document.open(file);
    const PaletteTable palette = benchPalette();
    RgbImage area = renderDrawingArea(document.sprite(), palette, 16, 0xFFFFFF);
    const Subscription observation = document.observe([&](const SpriteDocumentEvent& event) {
        const PixelRect& pixel = event.area;
        paintBlock(area, pixel.x, pixel.y, 16, palette[document.sprite().at(pixel.x, pixel.y)]);
    });
    for (auto _ : state) {
        for (int i = 0; i < 300; ++i) document.paint(i, i, static_cast<std::uint8_t>(i));
        benchmark::DoNotOptimize(area.pixels.data());
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_PaintStrokeThroughDocument)->Unit(benchmark::kMicrosecond);

// Opening a file of 1000 sprites as the sprite editor does (its table and first sprite) and
// making its list lines.
void BM_OpenAndList1000(benchmark::State& state) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("vek_bench_1000_" + std::to_string(std::random_device{}()) + ".spr");
    writeUniformSpriteFile(file, checkUniformSpriteFile(1000, 32, 48));
    SpriteDocument document;
    for (auto _ : state) {
        document.open(file);
        const std::vector<SpriteEntry>& entries = document.table().entries;
        std::size_t characters = 0;
        for (std::size_t k = 0; k < entries.size(); ++k)
            characters += spriteListLine(k, entries[k]).size();
        benchmark::DoNotOptimize(characters);
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_OpenAndList1000)->Unit(benchmark::kMillisecond);

}  // namespace
