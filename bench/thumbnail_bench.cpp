#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_installation.h"
#include "objects/cob_data.h"
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
        addHostileFiles();
    }

    // Files whose declared sizes reach the format's limits, the pixels in sparse files: what a
    // thumbnail takes must follow the size asked for, never these.
    void addHostileFiles() {
        const std::vector<std::uint8_t> shapes = encodeSpriteFile(
            std::vector<SpriteImage>{SpriteImage(16384, 1, 7), SpriteImage(1, 16384, 9)});
        writeFileAtomically(root / "wide-and-tall.spr", shapes);
        files.push_back(root / "wide-and-tall.spr");

        // Four sprites of 65535 x 65535, all on the one block.
        const std::uint32_t block = static_cast<std::uint32_t>(spriteHeaderSize(4));
        const std::vector<SpriteEntry> largest(4, SpriteEntry{block, 0xFFFF, 0xFFFF});
        writeSparse(root / "largest.spr", encodeSpriteHeader(largest),
                    std::uint64_t{block} + std::uint64_t{0xFFFF} * 0xFFFF);

        writeSparse(root / "largest.cob", cobHeader(8192, 8192), 34 + std::uint64_t{8192} * 8192);
        writeSparse(root / "widest.cob", cobHeader(1 << 26, 1), 34 + (std::uint64_t{1} << 26));
    }

    void writeSparse(const fs::path& file, const std::vector<std::uint8_t>& head,
                     std::uint64_t size) {
        writeFileAtomically(file, head);
        fs::resize_file(file, size);
        files.push_back(file);
    }

    // An object without texts whose picture is width x height, up to its first pixel.
    static std::vector<std::uint8_t> cobHeader(std::int32_t width, std::int32_t height) {
        std::vector<std::uint8_t> bytes = encodeCob(CobData{});
        bytes.resize(34);
        for (int k = 0; k < 4; ++k) {
            bytes[24 + k] = static_cast<std::uint8_t>(width >> (8 * k));
            bytes[28 + k] = static_cast<std::uint8_t>(height >> (8 * k));
        }
        return bytes;
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
// target is under 20 ms a file at the file managers' large size (256); the files of the
// format's limits (7 to 10) under 50 ms at the largest size (1024).
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
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {128, 256, 1024}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
