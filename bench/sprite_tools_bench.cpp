#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "sprites/sprite_document.h"
#include "sprites/sprite_render.h"
#include "sprites/sprite_tools.h"

namespace {

using namespace vek;

// One gesture of each drawing tool on a 300 x 300 sprite, from press to release, through the
// sprite document and its undo history. With argument 1 an observer also paints every changed
// pixel's block into a 4800 x 4800 drawing area (zoom 16), as the editor's canvas does.
class ToolBench {
  public:
    explicit ToolBench(bool paintArea)
        : m_file(std::filesystem::temp_directory_path() /
                 ("vek_bench_tools_" + std::to_string(std::random_device{}()) + ".spr")) {
        writeSpriteFile(m_file, std::vector<SpriteImage>{SpriteImage(300, 300, 0)});
        m_document.open(m_file);
        for (std::size_t k = 1; k < kPaletteColorCount; ++k)
            m_palette.setColor(k, makeScreenColor(static_cast<std::uint8_t>(k), 40, 90));
        if (!paintArea) return;
        m_area = renderDrawingArea(m_document.sprite(), m_palette, 16, 0xFFFFFF);
        m_observation = m_document.observe([this](const SpriteDocumentEvent& event) {
            const PixelRect& part = event.area;
            for (int y = part.y; y < part.y + part.height; ++y)
                for (int x = part.x; x < part.x + part.width; ++x)
                    paintBlock(m_area, x, y, 16, m_palette[m_document.sprite().at(x, y)]);
        });
    }
    ~ToolBench() { std::filesystem::remove(m_file); }
    ToolBench(const ToolBench&) = delete;
    ToolBench& operator=(const ToolBench&) = delete;

    void gesture(SpriteToolKind tool, std::initializer_list<PixelPoint> at) {
        m_painter.setTool(tool);
        m_painter.press(*at.begin(), ++m_index, false);
        for (auto point = at.begin() + 1; point != at.end(); ++point) m_painter.move(*point, false);
        m_painter.release();
        benchmark::DoNotOptimize(m_area.pixels.data());
    }

  private:
    std::filesystem::path m_file;
    SpriteDocument m_document;
    SpritePainter m_painter{m_document};
    PaletteTable m_palette;
    RgbImage m_area;
    Subscription m_observation;
    std::uint8_t m_index = 0;
};

// A brush stroke whose 30 reported positions lie 10 pixels apart.
void BM_BrushStroke(benchmark::State& state) {
    ToolBench bench(state.range(0) != 0);
    for (auto _ : state) {
        bench.gesture(SpriteToolKind::Brush,
                      {{0, 0},     {10, 10},   {20, 20},   {30, 30},   {40, 40},   {50, 50},
                       {60, 60},   {70, 70},   {80, 80},   {90, 90},   {100, 100}, {110, 110},
                       {120, 120}, {130, 130}, {140, 140}, {150, 150}, {160, 160}, {170, 170},
                       {180, 180}, {190, 190}, {200, 200}, {210, 210}, {220, 220}, {230, 230},
                       {240, 240}, {250, 250}, {260, 260}, {270, 270}, {280, 280}, {299, 299}});
    }
}
BENCHMARK(BM_BrushStroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A line dragged across the sprite through three places before the release.
void BM_Line(benchmark::State& state) {
    ToolBench bench(state.range(0) != 0);
    for (auto _ : state)
        bench.gesture(SpriteToolKind::Line, {{0, 0}, {299, 150}, {150, 299}, {299, 299}});
}
BENCHMARK(BM_Line)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Rectangle(benchmark::State& state) {
    ToolBench bench(state.range(0) != 0);
    for (auto _ : state) bench.gesture(SpriteToolKind::Rectangle, {{0, 0}, {200, 100}, {299, 299}});
}
BENCHMARK(BM_Rectangle)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FilledRectangle(benchmark::State& state) {
    ToolBench bench(state.range(0) != 0);
    for (auto _ : state) bench.gesture(SpriteToolKind::FilledRectangle, {{0, 0}, {299, 299}});
}
BENCHMARK(BM_FilledRectangle)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A fill of the whole sprite (each time another colour, so that every fill changes it all).
void BM_Fill(benchmark::State& state) {
    ToolBench bench(state.range(0) != 0);
    for (auto _ : state) bench.gesture(SpriteToolKind::Fill, {{150, 150}});
}
BENCHMARK(BM_Fill)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
