#include <gtest/gtest.h>

#include "app/file_io.h"
#include "objects/installation_facts.h"
#include "objects/object_check.h"
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

// A game whose paths a test moves, as a changed game directory moves them.
class MovableGame : public GameInstallation {
  public:
    const GamePaths& paths() const override { return m_paths; }
    void ReadPaths() override {}
    void PlayGameSound(const std::string&) const override {}
    void moveTo(const std::filesystem::path& directory) { m_paths = gamePathsUnder(directory); }

  private:
    GamePaths m_paths;
};

// A game directory with the sprite files named, of one image each.
void makeGame(const std::filesystem::path& directory, std::vector<std::string> sprites) {
    const GamePaths paths = gamePathsUnder(directory);
    std::filesystem::create_directories(pathFromUtf8(paths.CImagePath));
    std::filesystem::create_directories(pathFromUtf8(paths.CSoundPath));
    for (const std::string& name : sprites) {
        writeSpriteFile(pathFromUtf8(paths.CImagePath) / (name + ".spr"),
                        std::vector<SpriteImage>(1, SpriteImage(2, 2)));
    }
}

std::vector<std::string> subjects(const std::vector<Finding>& findings) {
    std::vector<std::string> found;
    for (const Finding& f : findings) {
        found.push_back(std::to_string(f.position.line) + ":" + std::to_string(f.position.column) +
                        " " + f.subject);
    }
    return found;
}

// Nothing is read until a check of a section asks; the same facts serve until the game's
// directory moves or its image folder changes, and a source check then sees the new ones.
TEST(InstallationFactsCache, ReadsWhenFirstAskedAndAgainWhenTheFoldersChange) {
    testing::TempDir dir;
    makeGame(dir / "first", {"ball"});
    makeGame(dir / "second", {"cube"});
    MovableGame game;
    game.moveTo(dir / "first");
    InstallationFactsCache cache(game);
    SourceCheck check;
    check.setInstallationSource([&cache] { return cache.current(); });
    check.reset({"* only a comment", "name Ball"});
    EXPECT_EQ(cache.reads(), 0u);
    EXPECT_FALSE(cache.held());

    check.replaceLines(2, 0, {"inst", "\tnew: simp cube 1 0 1000 0", "endm"});
    EXPECT_EQ(cache.reads(), 1u);
    EXPECT_EQ(subjects(check.findings()), std::vector<std::string>{"4:12 cube"});
    const auto held = cache.held();
    EXPECT_EQ(cache.current(), held);  // nothing changed: nothing read
    EXPECT_EQ(cache.reads(), 1u);

    // An edit that checks no section reads nothing.
    game.moveTo(dir / "second");
    check.replaceLines(0, 1, {"* a comment"});
    EXPECT_EQ(cache.reads(), 1u);
    // Another game directory: the next check of a section reads it, and every section is
    // checked again with it.
    check.replaceLines(4, 1, {"endm"});
    EXPECT_EQ(cache.reads(), 2u);
    EXPECT_TRUE(check.findings().empty());

    // A sprite file taken away from the folder changes its time: read again.
    std::filesystem::remove(pathFromUtf8(game.paths().CImagePath) / "cube.spr");
    std::filesystem::last_write_time(
        pathFromUtf8(game.paths().CImagePath),
        std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
    check.replaceLines(4, 1, {"endm "});
    EXPECT_EQ(cache.reads(), 3u);
    EXPECT_EQ(subjects(check.findings()), std::vector<std::string>{"4:12 cube"});
}

// A script whose class nothing in the source creates and the catalogue lacks is marked at its
// class, also when the routine that created it is edited away; the switch turns it off.
TEST(SourceCheck, MarksScriptsOfClassesNothingCreatesAcrossSections) {
    CheckOptions options = objectCheckOptions();
    auto facts = std::make_shared<InstallationFacts>();
    facts->knowsClass = [](int family, int genus, int species) {
        return family == 2 && genus == 5 && species == 3;
    };
    options.installation = facts;
    SourceCheck check(options);
    check.reset({"inst", "\tnew: simp ball 1 0 1000 0", "\tsetv clas 33883136", "endm", "",
                 "scrp 2 5 4 9", "\tsetv obv0 1", "endm", "scrp 2 5 3 9", "endm", "scrp 2 5 6 9",
                 "endm"});
    // The routine's own setv clas of a class the catalogue lacks is marked as well.
    EXPECT_EQ(subjects(check.findings()),
              (std::vector<std::string>{"3:12 33883136", "11:6 2 5 6"}));
    // The routine now creates 2 5 6: the script of 2 5 4 is marked, though it was not edited.
    check.replaceLines(2, 1, {"\tsetv clas 33883648"});
    EXPECT_EQ(subjects(check.findings()), (std::vector<std::string>{"3:12 33883648", "6:6 2 5 4"}));
    // Lines inserted above move the mark with its script.
    check.replaceLines(0, 0, {"* one", "* two"});
    EXPECT_EQ(subjects(check.findings()), (std::vector<std::string>{"5:12 33883648", "8:6 2 5 4"}));
    const Finding marked = check.findings().back();
    EXPECT_EQ(marked.code, FindingCode::ClassUnknown);
    EXPECT_EQ(marked.text.english,
              "Nothing in the source creates the class 2 5 4, and the class catalogue does not "
              "hold it");
    EXPECT_EQ(marked.text.german,
              "Nichts in der Quelle erzeugt die Klasse 2 5 4, und der Klassenkatalog enthält sie "
              "nicht");
    check.checkAgain({FindingCode::ClassUnknown});
    EXPECT_TRUE(check.findings().empty());
}

}  // namespace
}  // namespace vek
