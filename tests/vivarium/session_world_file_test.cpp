#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "tests/vivarium/vivarium_support.h"
#include "vivarium/scene.h"
#include "vivarium/session.h"
#include "vivarium/trace.h"
#include "vivarium/world_file.h"

namespace vek::testing {
namespace {

// A session on an image directory with "ball.spr": four images of 20 x 10 pixels.
class SessionWorldFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeSpriteFile(dir / "ball.spr", std::vector<SpriteImage>(4, SpriteImage(20, 10, 7)));
    }

    TempDir dir;
    vivarium::Session session{dir.path()};
};

TEST_F(SessionWorldFileTest, ALoadedWorldsHappeningsArePlacedAtTheLinesOfItsFile) {
    session.runMacro("inst,scrp 2 5 3 1,snde honk,mvto 1 2,endm");
    session.runMacro("inst,new: simp ball 4 0 10 0," + classLine(2, 5, 3) + ",mvto 5 6,endm");
    session.saveWorld(dir / "world.txt");
    const std::vector<std::string> lines = readFileLines(dir / "world.txt");
    const auto scrp = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("scrp");
    });
    ASSERT_NE(scrp, lines.end());

    int changes = 0;
    session.setChangeListener([&changes] { ++changes; });
    const std::uint64_t before = session.worldNumber();
    session.loadWorld(dir / "world.txt");
    EXPECT_GT(session.worldNumber(), before);
    EXPECT_GE(changes, 1);
    ASSERT_EQ(session.world().objects().size(), 1u);
    EXPECT_EQ(vivarium::objectRow(session.world().objects().front()).position, "5, 6");
    EXPECT_TRUE(session.log().empty()) << "the earlier world's log went with it";

    session.runMacro("inst,enum 2 5 3,mesg writ targ 0,next,endm");
    session.tick();
    session.tick();
    ASSERT_FALSE(session.log().empty());
    const vivarium::Happening& sound = session.log().back();
    EXPECT_EQ(vivarium::soundName(sound), "honk");
    const std::size_t line = static_cast<std::size_t>(scrp - lines.begin()) + 1;
    EXPECT_EQ(vivarium::placeOf(sound), "world.txt:" + std::to_string(line) + ":" +
                                            std::to_string(lines[line - 1].find("snde") + 1));
}

// A file that cannot be read, or is larger than a world file holds, is refused at once (the
// large ones without being read) and leaves the world as it was.
TEST_F(SessionWorldFileTest, AFileThatCannotBeReadLeavesTheWorldAsItWas) {
    session.runMacro("inst,new: simp ball 4 0 10 0,endm");
    struct Case {
        std::string name;
        std::uint64_t size;  // of a file that takes no room on the disk; 0: no file
        std::string said;
    };
    const Case cases[] = {
        {"missing.txt", 0, "Datei nicht gefunden"},
        {"just-too-large.txt", vivarium::kMaxWorldFileSize + 1, "holds at most 67108864"},
        {"2-gb.txt", std::uint64_t{2} << 30, "holds at most 67108864"},
    };
    for (const Case& c : cases) {
        if (c.size != 0) {
            writeFileAtomically(dir / c.name, std::string_view("inst,endm\n"));
            std::filesystem::resize_file(dir / c.name, c.size);
        }
        const std::uint64_t before = session.worldNumber();
        const auto started = std::chrono::steady_clock::now();
        try {
            session.loadWorld(dir / c.name);
            ADD_FAILURE() << c.name << " is refused";
        } catch (const VekError& error) {
            EXPECT_NE(std::string(error.text("english")).find(c.said), std::string::npos)
                << error.text("english");
            EXPECT_EQ(error.detail().file, pathToUtf8(dir / c.name));
        }
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1)) << c.name;
        EXPECT_EQ(session.worldNumber(), before);
        EXPECT_EQ(session.world().objects().size(), 1u);
    }
}

TEST(SceneTest, AnObjectRowNamesItsClassAndASoundNamesItsWaveFile) {
    vivarium::Object ball;
    ball.family = 2;
    ball.genus = 5;
    ball.species = 3;
    const vivarium::ClassNames names = [](int family, int genus, int species) {
        return family == 2 && genus == 5 && species == 3 ? std::string("Ball") : std::string();
    };
    EXPECT_EQ(vivarium::objectRow(ball, names).name, "Ball");
    EXPECT_EQ(vivarium::objectRow(ball).name, "");
    ball.species = 4;
    EXPECT_EQ(vivarium::objectRow(ball, names).name, "");

    struct Case {
        vivarium::HappeningKind kind;
        std::string detail;
        std::string sound;
    };
    const Case cases[] = {
        {vivarium::HappeningKind::Sound, "snde spin", "spin"},
        {vivarium::HappeningKind::Sound, "sndl dr_2", "dr_2"},
        {vivarium::HappeningKind::Sound, "sndc ../x", ""},
        {vivarium::HappeningKind::Sound, "snde a\\b", ""},
        {vivarium::HappeningKind::Sound, "snde ", ""},
        {vivarium::HappeningKind::Message, "mesg writ #1 0", ""},
    };
    for (const Case& c : cases) {
        vivarium::Happening happening;
        happening.kind = c.kind;
        happening.detail = c.detail;
        EXPECT_EQ(vivarium::soundName(happening), c.sound) << c.detail;
    }
}

}  // namespace
}  // namespace vek::testing
