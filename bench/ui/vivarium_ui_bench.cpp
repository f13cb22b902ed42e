#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "sprites/palette.h"
#include "sprites/sprite_file.h"
#include "vivarium/scene.h"
#include "vivarium/ui/world_view.h"

namespace {

// A frame of the Vivarium window: 200 objects of 40 x 40 pixels with four poses each, changing
// pose every frame, over a background, drawn into a 1024 x 768 picture offscreen.
void drawAnimatedFrame(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "vek-vivarium-bench";
    std::filesystem::create_directories(folder);
    std::vector<vek::SpriteImage> poses;
    for (int pose = 0; pose < 4; ++pose) {
        vek::SpriteImage image(40, 40, 0);
        for (int y = 4; y < 36; ++y)
            for (int x = 4 + pose; x < 36; ++x)
                image.at(x, y) = static_cast<std::uint8_t>(10 + pose);
        poses.push_back(image);
    }
    vek::writeSpriteFile(folder / "anim.spr", poses);
    vek::PaletteTable palette;
    vek::ui::SpritePictures pictures(folder, palette);

    std::mt19937 random(7);
    std::vector<vek::vivarium::DrawnObject> objects;
    for (int k = 0; k < state.range(0); ++k) {
        objects.push_back({k + 1, "anim", 0, static_cast<int>(random() % 1000),
                           static_cast<int>(random() % 740), 40, 40});
    }
    QImage background(vek::vivarium::kWorldWidth, vek::vivarium::kWorldHeight,
                      QImage::Format_RGB32);
    background.fill(QColor(30, 90, 40));
    QImage frame(1024, 768, QImage::Format_RGB32);
    int tick = 0;
    for (auto _ : state) {
        ++tick;
        for (vek::vivarium::DrawnObject& object : objects)
            object.image = (object.object + tick) % 4;
        QPainter painter(&frame);
        vek::ui::paintWorld(painter, background, objects, pictures, 1.0, frame.rect());
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(drawAnimatedFrame)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
