#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/file_io.h"
#include "bench/reference/plain_color_match.h"
#include "bench/reference/sample_pictures.h"
#include "sprites/bitmap_converter.h"
#include "sprites/sprite_file.h"
#include "world/map_raster.h"

namespace {

using namespace vek;

const RgbImage& photo() {
    static const RgbImage picture = reference::photographicPicture(1024, 768, 11);
    return picture;
}

const PaletteTable& palette() {
    static const PaletteTable table = reference::gameLikePalette(0xFFFFFF);
    return table;
}

ColorMatchLevel levelOf(const benchmark::State& state) {
    return static_cast<ColorMatchLevel>(state.range(0));
}

// Converting a 1024 x 768 photograph: the picture is copied outside the timing, because the
// conversion repaints it.
void BM_ConvertPhotograph(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        RgbImage picture = photo();
        state.ResumeTiming();
        benchmark::DoNotOptimize(convertPicture(picture, palette(), levelOf(state)));
    }
    state.SetItemsProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(BM_ConvertPhotograph)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// The plain per-pixel scan over the same picture, for comparison.
void BM_PlainScanPhotograph(benchmark::State& state) {
    const auto step = static_cast<std::uint32_t>(firstMatchStep(levelOf(state)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(reference::plainMatchPicture(palette().colors(), photo(), step));
    }
    state.SetItemsProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(BM_PlainScanPhotograph)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Drawing the map from a full 10 MB back.spr (in the file cache after the first run).
void BM_DrawMap(benchmark::State& state) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "vek_bench_back.spr";
    std::vector<SpriteImage> tiles;
    for (int t = 0; t < kBackTileCount; ++t) {
        SpriteImage& tile = tiles.emplace_back(kBackTileWidth, kBackTileHeight);
        for (std::size_t i = 0; i < tile.pixels.size(); ++i)
            tile.pixels[i] = static_cast<std::uint8_t>(t + i * 7);
    }
    writeSpriteFile(file, tiles);
    for (auto _ : state) {
        RgbImage map;
        drawMap(file, palette(), map);
        benchmark::DoNotOptimize(map.pixels.data());
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_DrawMap)->Unit(benchmark::kMillisecond);

}  // namespace
