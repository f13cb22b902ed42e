#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_installation.h"
#include "sprites/bitmap.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"
#include "world/map_raster.h"

namespace vek {
namespace {

namespace fs = std::filesystem;

TEST(DemoPictures, TheBackgroundFileDrawsAVariedMapAndTheBitmapsRead) {
    const demo::DemoLayout layout{fs::temp_directory_path() /
                                  ("vek_demo_pictures_" + std::to_string(::getpid()))};
    demo::generateDemoInstallation(layout);
    const GamePaths paths = gamePathsUnder(layout.gameDirectory());
    const fs::path back = pathFromUtf8(paths.CImagePath) / "back.spr";

    const SpriteTable table = readSpriteTable(back, 1000);
    ASSERT_EQ(table.count(), 464u);
    for (const SpriteEntry& entry : table.entries) {
        EXPECT_EQ(entry.width, 144);
        EXPECT_EQ(entry.height, 150);
    }
    EXPECT_EQ(fs::file_size(back), kBackFileSize);

    const PaletteTable palette = readGamePalette(paths.CPalettePath, 0xFFFFFF);
    RgbImage map;
    drawMap(back, palette, map);
    // Sky above (blue outweighs red), ground below (not), and many colours, none the background.
    const ScreenColor sky = map.at(10, 5);
    const ScreenColor ground = map.at(1000, 280);
    EXPECT_GT(blueOf(sky), redOf(sky));
    EXPECT_LE(blueOf(ground), redOf(ground) + 20);
    std::set<ScreenColor> colors(map.pixels.begin(), map.pixels.end());
    EXPECT_GT(colors.size(), 30u);
    EXPECT_EQ(colors.count(0xFFFFFF), 0u);

    for (const char* name : {"sunset.bmp", "flower.bmp"}) {
        const RgbImage picture = readBitmap(pathFromUtf8(paths.CImagePath) / name);
        EXPECT_GT(picture.width, 50) << name;
    }
    fs::remove_all(layout.root);
}

}  // namespace
}  // namespace vek
