#include <gtest/gtest.h>

#include <set>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_installation.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

TEST(DemoSprites, ShowcaseAndIconFilesOpenInTheEditorAndHoldDrawnSprites) {
    const testing::TempDir root;
    const demo::DemoLayout layout{root.path()};
    demo::generateDemoInstallation(layout);
    const GamePaths paths = gamePathsUnder(layout.gameDirectory());

    const SpriteTable showcase = readSpriteTable(pathFromUtf8(paths.CImagePath + "vekshow.spr"));
    std::set<std::pair<int, int>> sizes;
    for (const SpriteEntry& entry : showcase.entries) {
        sizes.insert({entry.width, entry.height});
        const SpriteImage sprite = readSprite(showcase.file, entry);
        const std::set<std::uint8_t> colours(sprite.pixels.begin(), sprite.pixels.end());
        EXPECT_GE(colours.size(), 2u) << entry.width << "X" << entry.height;
    }
    EXPECT_GE(sizes.size(), 5u);
    EXPECT_TRUE(sizes.count({300, 300})) << "a sprite for the largest zoom";

    const SpriteTable icons = readSpriteTable(pathFromUtf8(paths.CImagePath + "vekicons.spr"));
    EXPECT_GE(icons.count(), 300u);
    EXPECT_LE(icons.count(), kSpriteTableCapacity);
    EXPECT_NE(readSprite(icons.file, icons.entries[0]), readSprite(icons.file, icons.entries[1]));

    // The launcher object's picture is a sprite file too.
    EXPECT_GE(readSpriteTable(layout.programDirectory() / "rpsw.kev").count(), 1u);
}

}  // namespace
}  // namespace vek
