#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <vector>

#include "app/ui/widgets/animation_preview.h"

namespace {

// One frame of the animation preview: the step moves on and the widget draws the next 300 x 300
// picture, as the timer makes it do ten times a second. The share of one core that playing takes
// is this time times ten a second: 50 µs a frame would be half a thousandth of a core.
void drawNextFrame(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    std::vector<QImage> frames;
    for (int k = 0; k < 4; ++k) {
        QImage frame(side, side, QImage::Format_RGB32);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) frame.setPixel(x, y, qRgb(x * k % 256, y % 256, 90));
        frames.push_back(frame);
    }
    vek::ui::AnimationPreview preview;
    preview.setAnimation(frames, {0, 1, 2, 3, 2, 1}, true);
    // range(1): the enlargement the window's size gives the picture.
    const int enlarged = side * static_cast<int>(state.range(1)) + 40;
    preview.resize(enlarged, enlarged);
    preview.show();
    QApplication::processEvents();
    for (auto _ : state) {
        preview.advance();
        preview.repaint();
    }
}
BENCHMARK(drawNextFrame)->Args({300, 1})->Args({300, 2})->Unit(benchmark::kMicrosecond);

}  // namespace
