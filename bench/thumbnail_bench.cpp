#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_installation.h"
#include "objects/object_thumbnail.h"
#include "sprites/png.h"
#include "sprites/sprite_file.h"
#include "sprites/thumbnail.h"

namespace {

using namespace vek;
namespace fs = std::filesystem;

// The demo's sprite files and its objects with pictures, and a sprite file far larger than the
// game's own (a 1024 x 768 picture four times), in a folder of their own.
struct Folder {
    fs::path root =
        fs::temp_directory_path() / ("vek-thumbnail-bench-" + std::to_string(::getpid()));
    std::vector<fs::path> files;

    Folder() {
        const demo::DemoLayout layout{root / "demo"};
        demo::ensureDemoInstallation(layout);
        const fs::path images = pathFromUtf8(gamePathsUnder(layout.gameDirectory()).CImagePath);
        for (const char* name : {"vbal.spr", "vtop.spr", "vekshow.spr", "vekicons.spr"})
            files.push_back(images / name);
        for (const char* name : {"BALL.COB", "SPTOP.COB"})
            files.push_back(layout.gameDirectory() / name);
        SpriteImage large(1024, 768);
        for (std::size_t i = 0; i < large.pixels.size(); ++i)
            large.pixels[i] = static_cast<std::uint8_t>(i * 7 / 3);
        writeSpriteFile(root / "large.spr", std::vector<SpriteImage>(4, large));
        files.push_back(root / "large.spr");
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

const Folder& folder() {
    static const Folder made;
    return made;
}

// What `vek thumbnail` does for one file once running: read, draw, encode, write. The
// target is under 20 ms a file at the file managers' large size (256).
void BM_ThumbnailOfFile(benchmark::State& state) {
    const fs::path& file = folder().files.at(static_cast<std::size_t>(state.range(0)));
    const int size = static_cast<int>(state.range(1));
    const PaletteTable palette = neutralPalette(0xFFFFFF);
    const fs::path out = folder().root / "out.png";
    for (auto _ : state) {
        writeFileAtomically(out, encodePng(fileThumbnail(file, palette, size)));
    }
    state.SetLabel(file.filename().string());
}
BENCHMARK(BM_ThumbnailOfFile)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {128, 256}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
