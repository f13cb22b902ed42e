#include <gtest/gtest.h>

#include "app/file_io.h"
#include "demo/stand_in_images.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace vek::demo {
namespace {

namespace fs = std::filesystem;

// The game's image directory where it is there; else the demo's, made in the user's data folder,
// saying why.
TEST(StandInImages, AreTheGamesWhereTheyAreThereElseTheDemosSayingWhy) {
    testing::TempDir dir;
    const testing::ScopedEnv data("XDG_DATA_HOME", pathToUtf8(dir / "data").c_str());
    fs::create_directories(dir / "game" / "Images");
    fs::create_directories(dir / "bare");
    const fs::path demoImages = dir / "data" / "Vekstudio" / "demo" / "Creatures" / "Images";
    struct Case {
        std::optional<fs::path> gameDir;
        fs::path directory;
        std::string source;
    };
    const Case cases[] = {
        {dir / "game", dir / "game" / "Images" / "", "--game-dir"},
        {std::nullopt, demoImages / "", "the demo installation: no game is known"},
        {dir / "bare", demoImages / "",
         "the demo installation: the game's image directory " + pathToUtf8(dir / "bare") +
             "/Images/ is not there"},
    };
    for (const Case& c : cases) {
        GamePathSources sources;
        sources.gameDirOption = c.gameDir;
        const StandInImages images = standInImages(sources);
        EXPECT_EQ(images.directory, c.directory) << c.source;
        EXPECT_EQ(images.source, c.source);
        EXPECT_TRUE(fs::is_directory(images.directory)) << c.source;
    }
}

}  // namespace
}  // namespace vek::demo
