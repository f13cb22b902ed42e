#include <gtest/gtest.h>

#include "app/file_io.h"
#include "objects/installation_facts.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

// The image and sound folders read into facts, names in lower case without extension; a folder
// that is not there leaves its part unknown. VEK.INI switches each kind off with "0".
TEST(InstallationFacts, ComeFromTheGamesFoldersAndTheSwitchesFromVekIni) {
    testing::TempDir dir;
    std::filesystem::create_directories(dir / "Images");
    std::filesystem::create_directories(dir / "Sounds");
    writeSpriteFile(dir / "Images" / "BALL.SPR", std::vector<SpriteImage>(3, SpriteImage(2, 2)));
    writeFileAtomically(dir / "Images" / "note.txt", std::string_view("not a sprite file"));
    writeFileAtomically(dir / "Images" / "bad.spr", std::string_view("x"));
    writeFileAtomically(dir / "Sounds" / "Drip.WAV", std::string_view("RIFF"));
    GamePaths paths;
    paths.CImagePath = (dir / "Images").string() + "/";
    paths.CSoundPath = (dir / "Sounds").string() + "/";
    InstallationFacts facts = readInstallationFacts(paths);
    ASSERT_TRUE(facts.spriteCounts && facts.sounds);
    EXPECT_EQ(*facts.spriteCounts, (std::map<std::string, std::size_t>{{"ball", 3}, {"bad", 0}}));
    EXPECT_EQ(*facts.sounds, std::set<std::string>{"drip"});

    paths.CSoundPath = (dir / "none").string() + "/";
    paths.CImagePath.clear();
    facts = readInstallationFacts(paths);
    EXPECT_FALSE(facts.spriteCounts || facts.sounds);

    const VekIni ini(dir / "VEK.INI");
    EXPECT_TRUE(switchedOffInstallationChecks(ini).empty());
    ini.write("Checking", "Sounds", "0");
    ini.write("Checking", "Images", "1");
    EXPECT_EQ(switchedOffInstallationChecks(ini), std::set<FindingCode>{FindingCode::SoundMissing});
}

}  // namespace
}  // namespace vek
