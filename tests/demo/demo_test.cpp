#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/program_directory.h"
#include "demo/demo_installation.h"
#include "support/temp_dir.h"

namespace vek::demo {
namespace {

namespace fs = std::filesystem;

TEST(DemoInstallation, HoldsTheNineGameDirectoriesAndAGamePalette) {
    testing::TempDir dir;
    const DemoLayout layout{dir.path()};
    generateDemoInstallation(layout);
    GamePaths paths = gamePathsUnder(layout.gameDirectory());
    for (std::size_t i = 0; i < kGamePathValueNames.size(); ++i) {
        EXPECT_TRUE(fs::is_directory(pathFromUtf8(gamePathField(paths, i))))
            << kGamePathValueNames[i];
    }
    const auto palette = readFileBytes(pathFromUtf8(paths.CPalettePath) / "palette.dta");
    ASSERT_EQ(palette.size(), 768u);
    for (std::uint8_t component : palette) EXPECT_LE(component, 63);
    EXPECT_TRUE(fs::exists(layout.programDirectory() / "vek.wav"));
    EXPECT_TRUE(fs::exists(pathFromUtf8(paths.CSoundPath) / "zzzz.wav"));
}

TEST(DemoInstallation, IsRenewedOnlyWhenAnotherGeneratorMadeIt) {
    testing::TempDir dir;
    const DemoLayout layout{dir.path()};
    ensureDemoInstallation(layout);
    const fs::path palette = layout.gameDirectory() / "Palettes" / "palette.dta";
    writeFileAtomically(palette, std::string_view("user's own"));
    ensureDemoInstallation(layout);
    EXPECT_EQ(readFileText(palette), "user's own");

    writeFileAtomically(dir / "demo-version.txt", std::string_view("vekstudio demo 0\n"));
    ensureDemoInstallation(layout);
    EXPECT_EQ(readFileBytes(palette).size(), 768u);
}

TEST(ProgramDirectory, AWritableProgramFolderIsUsedAsItIs) {
    testing::TempDir dir;
    fs::create_directories(dir / "bin");
    EXPECT_EQ(resolveProgramDirectory(dir / "bin", dir / "user"), dir / "bin");
    EXPECT_FALSE(fs::exists(dir / "user"));
}

TEST(ProgramDirectory, AMissingProgramFolderFallsBackToTheUsersCopy) {
    testing::TempDir dir;
    EXPECT_FALSE(isWritableDirectory(dir / "missing"));
    EXPECT_EQ(resolveProgramDirectory(dir / "missing", dir / "user"), dir / "user");
    EXPECT_TRUE(fs::is_directory(dir / "user"));
}

}  // namespace
}  // namespace vek::demo
