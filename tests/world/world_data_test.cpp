#include <gtest/gtest.h>

#include <functional>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "support/temp_dir.h"
#include "world/egg_disk.h"
#include "world/world_files.h"

namespace vek {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string mainPathOf(const TempDir& dir) { return pathToUtf8(dir.path()) + "/"; }

std::string textOf(const fs::path& file) {
    std::error_code error;
    return fs::exists(file, error) ? readFileText(file) : std::string("<none>");
}

std::string failureOf(const std::function<void()>& command) {
    try {
        command();
    } catch (const VekError& error) {
        return error.message(kLanguageEnglish);
    }
    return {};
}

// A genetics directory whose every file says what it is.
void writeGenetics(const fs::path& genetics, bool withGrendel) {
    fs::create_directories(genetics);
    for (int egg = 1; egg <= 6; ++egg) {
        for (const char* parent : {"mum", "dad"}) {
            const std::string name = parent + std::to_string(egg) + ".gen";
            writeFileAtomically(genetics / name, name);
        }
    }
    if (withGrendel) writeFileAtomically(genetics / "GREN.GEN", std::string_view("gren"));
}

TEST(WorldFiles, TwoResetsInARowKeepThePristineWorldAsBackup) {
    TempDir game;
    writeFileAtomically(game / "world.sfc", std::string_view("user's world"));
    writeFileAtomically(game / "Eden.SFC", std::string_view("pristine"));
    resetWorld(mainPathOf(game));
    EXPECT_EQ(textOf(game / "world.sfc"), "pristine");
    EXPECT_EQ(textOf(game / "OldWorld.sfc"), "user's world");
    // The second reset finds the pristine world: nothing to keep, the player's world stays.
    resetWorld(mainPathOf(game));
    EXPECT_EQ(textOf(game / "OldWorld.sfc"), "user's world");
    EXPECT_EQ(textOf(game / "OldWorld1.sfc"), "<none>");
    for (const auto& entry : fs::directory_iterator(game.path()))
        EXPECT_NE(entry.path().extension(), ".tmp");
}

TEST(WorldFiles, EachResetOfAPlayedWorldKeepsTheLastFiveOlderBackups) {
    TempDir game;
    writeFileAtomically(game / "eden.sfc", std::string_view("pristine"));
    // Worlds played between resets; "w3" twice is kept once.
    for (const char* played : {"w1", "w2", "w3", "w3", "w4", "w5", "w6", "w7", "w8"}) {
        if (textOf(game / "world.sfc") != "w3" || std::string_view(played) != "w3")
            writeFileAtomically(game / "world.sfc", std::string_view(played));
        resetWorld(mainPathOf(game));
        EXPECT_EQ(textOf(game / "world.sfc"), "pristine");
    }
    const struct {
        const char* name;
        const char* contents;
    } expected[] = {{"OldWorld.sfc", "w8"},     {"OldWorld1.sfc", "w7"}, {"OldWorld2.sfc", "w6"},
                    {"OldWorld3.sfc", "w5"},    {"OldWorld4.sfc", "w4"}, {"OldWorld5.sfc", "w3"},
                    {"OldWorld6.sfc", "<none>"}};
    for (const auto& backup : expected)
        EXPECT_EQ(textOf(game / backup.name), backup.contents) << backup.name;
}

TEST(WorldFiles, AnUnknownGameFolderIsRefusedAndTheWorkingDirectoryLeftAlone) {
    TempDir cwd;
    writeFileAtomically(cwd / "world.sfc", std::string_view("mine"));
    writeFileAtomically(cwd / "eden.sfc", std::string_view("pristine"));
    writeGenetics(cwd / "Genetics", true);
    fs::create_directories(cwd / "a");
    const fs::path before = fs::current_path();
    fs::current_path(cwd.path());
    for (const std::string& unknown :
         {std::string(), std::string("relative/"), pathToUtf8(cwd / "missing") + "/"}) {
        for (const auto& command : std::vector<std::function<void()>>{
                 [&] { resetWorld(unknown); }, [&] { createNewWorld(unknown, cwd / "new.sfc"); },
                 [&] { writeEggDisk(EggDiskKind::Game, pathFromUtf8(unknown), cwd / "a"); }}) {
            const std::string failure = failureOf(command);
            EXPECT_NE(failure.find("is not known"), std::string::npos) << "'" << unknown << "'";
        }
    }
    fs::current_path(before);
    EXPECT_EQ(textOf(cwd / "world.sfc"), "mine");
    EXPECT_EQ(textOf(cwd / "OldWorld.sfc"), "<none>");
    EXPECT_EQ(textOf(cwd / "new.sfc"), "<none>");
    EXPECT_TRUE(fs::is_empty(cwd / "a"));
}

TEST(WorldFiles, AFailedBackupLeavesTheWorldAsItWasAndSaysWhy) {
    TempDir game;
    writeFileAtomically(game / "world.sfc", std::string_view("user's world"));
    writeFileAtomically(game / "eden.sfc", std::string_view("pristine"));
    fs::create_directory(game / "OldWorld.sfc");  // the backup cannot replace a folder
    const std::string failure = failureOf([&] { resetWorld(mainPathOf(game)); });
    EXPECT_NE(failure.find("The world was not replaced"), std::string::npos) << failure;
    EXPECT_EQ(textOf(game / "world.sfc"), "user's world");
}

TEST(WorldFiles, AMissingPristineWorldOrAnUnwritableTargetIsReported) {
    TempDir game;
    writeFileAtomically(game / "world.sfc", std::string_view("user's world"));
    EXPECT_NE(failureOf([&] { resetWorld(mainPathOf(game)); }).find("Datei nicht gefunden"),
              std::string::npos);
    EXPECT_EQ(textOf(game / "world.sfc"), "user's world");
    EXPECT_EQ(textOf(game / "OldWorld.sfc"), "<none>");
    writeFileAtomically(game / "eden.sfc", std::string_view("pristine"));
    EXPECT_FALSE(
        failureOf([&] { createNewWorld(mainPathOf(game), game / "missing" / "new.sfc"); }).empty());
}

TEST(WorldFiles, ANewWorldIsACopyOfEdenAndEdenOverItselfStaysAsItIs) {
    TempDir game;
    writeFileAtomically(game / "eden.sfc", std::string_view("pristine"));
    writeFileAtomically(game / "mine.sfc", std::string_view("older"));
    createNewWorld(mainPathOf(game), game / "mine.sfc");
    EXPECT_EQ(textOf(game / "mine.sfc"), "pristine");
    createNewWorld(mainPathOf(game), game / "eden.sfc");
    EXPECT_EQ(textOf(game / "eden.sfc"), "pristine");
}

TEST(EggDisk, TheHeaderIsSevenCrLfLines) {
    EXPECT_EQ(eggDiskHeader(),
              "0xxxxxxxxxxxx\r\nmum1 dad1\r\nmum2 dad2\r\nmum3 dad3\r\nmum4 dad4\r\nmum5 dad5\r\n"
              "mum6 dad6\r\n");
}

TEST(EggDisk, EachKindCopiesItsMothersAndFathers) {
    const struct {
        EggDiskKind kind;
        bool grendelMum;
        bool grendelDad;
    } kinds[] = {{EggDiskKind::Game, false, false},
                 {EggDiskKind::Grendel, true, true},
                 {EggDiskKind::NornEl, false, true},
                 {EggDiskKind::GreNorn, true, false}};
    for (const auto& expected : kinds) {
        TempDir dir;
        writeGenetics(dir / "Genetics", true);
        fs::create_directories(dir / "a" / "egg2");
        writeFileAtomically(dir / "a" / "header.dat", std::string_view("old"));
        writeFileAtomically(dir / "a" / "egg2" / "mum2.gen", std::string_view("old"));
        writeEggDisk(expected.kind, dir / "Genetics", dir / "a");
        EXPECT_EQ(textOf(dir / "a" / "header.dat"), eggDiskHeader());
        for (int egg = 1; egg <= 6; ++egg) {
            const std::string n = std::to_string(egg);
            const fs::path folder = dir / "a" / ("egg" + n);
            EXPECT_EQ(textOf(folder / ("mum" + n + ".gen")),
                      expected.grendelMum ? "gren" : "mum" + n + ".gen");
            EXPECT_EQ(textOf(folder / ("dad" + n + ".gen")),
                      expected.grendelDad ? "gren" : "dad" + n + ".gen");
        }
    }
}

TEST(EggDisk, AFailureLeavesTheOldDiskAsItWasAndNamesEveryMissingSource) {
    const struct {
        std::vector<const char*> missing;  // genetics files removed
        bool folderIsAFile;                // egg4 is a file: the moves fail half-way
        std::vector<std::string> message;
    } failures[] = {{{"mum3.gen", "dad6.gen"}, false, {"cannot be read", "mum3.gen", "dad6.gen"}},
                    {{}, true, {"The egg disk was not written", "egg4"}}};
    for (const auto& failure : failures) {
        TempDir dir;
        writeGenetics(dir / "Genetics", true);
        for (const char* name : failure.missing) fs::remove(dir / "Genetics" / name);
        fs::create_directories(dir / "a" / "egg1");
        writeFileAtomically(dir / "a" / "header.dat", std::string_view("old"));
        writeFileAtomically(dir / "a" / "egg1" / "mum1.gen", std::string_view("old"));
        if (failure.folderIsAFile) writeFileAtomically(dir / "a" / "egg4", std::string_view("old"));
        const std::string message =
            failureOf([&] { writeEggDisk(EggDiskKind::Game, dir / "Genetics", dir / "a"); });
        for (const std::string& part : failure.message)
            EXPECT_NE(message.find(part), std::string::npos) << message;
        EXPECT_EQ(textOf(dir / "a" / "header.dat"), "old");
        EXPECT_EQ(textOf(dir / "a" / "egg1" / "mum1.gen"), "old");
        EXPECT_EQ(textOf(dir / "a" / "egg1" / "dad1.gen"), "<none>");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir / "a"), fs::directory_iterator()),
                  failure.folderIsAFile ? 3 : 2);
    }
}

TEST(EggDisk, AWriteProtectedDiskIsReportedAndNothingIsWritten) {
    TempDir dir;
    writeGenetics(dir / "Genetics", true);
    fs::create_directories(dir / "a");
    fs::permissions(dir / "a", fs::perms::owner_read | fs::perms::owner_exec);
    const std::string failure =
        failureOf([&] { writeEggDisk(EggDiskKind::Game, dir / "Genetics", dir / "a"); });
    fs::permissions(dir / "a", fs::perms::owner_all);
    EXPECT_NE(failure.find("write-protected"), std::string::npos) << failure;
    EXPECT_TRUE(fs::is_empty(dir / "a"));
}

TEST(FloppyDrive, TheOptionThenTheEnvironmentThenThePrefixDriveA) {
    TempDir dir;
    for (const char* folder : {"option", "environment", "floppy", "prefix/dosdevices"})
        fs::create_directories(dir / folder);
    fs::create_directory_symlink("../../floppy", dir / "prefix" / "dosdevices" / "a:");
    GamePathSources sources;
    sources.winePrefix = dir / "prefix";
    EXPECT_EQ(floppyDrive(sources), fs::canonical(dir / "floppy"));
    sources.floppyEnvironment = pathToUtf8(dir / "environment");
    EXPECT_EQ(floppyDrive(sources), dir / "environment");
    sources.floppyOption = dir / "option";
    EXPECT_EQ(floppyDrive(sources), dir / "option");

    GamePathSources dangling;
    dangling.winePrefix = dir / "prefix";
    fs::remove(dir / "floppy");
    EXPECT_NE(failureOf([&] { floppyDrive(dangling); }).find("points to nothing"),
              std::string::npos);
    EXPECT_NE(failureOf([&] { floppyDrive(GamePathSources{}); }).find("--floppy DIR"),
              std::string::npos);
    sources.floppyOption = dir / "missing";
    EXPECT_NE(failureOf([&] { floppyDrive(sources); }).find("does not exist"), std::string::npos);
}

}  // namespace
}  // namespace vek
