#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

#include "app/file_io.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> folderContents(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WholeFileWrite, NeverWritesThroughALinkPlantedWhereATemporaryFileCouldBe) {
    testing::TempDir dir;
    writeFileAtomically(dir / "victim", std::string_view("keep"));
    fs::create_symlink(dir / "victim", dir / "out.spr.vektmp");
    fs::create_symlink(dir / "victim", dir / "out.spr.tmp");
    writeFileAtomically(dir / "out.spr", std::string_view("new"));
    EXPECT_EQ(readFileText(dir / "victim"), "keep");
    EXPECT_EQ(readFileText(dir / "out.spr"), "new");
    EXPECT_EQ(folderContents(dir.path()),
              (std::vector<std::string>{"out.spr", "out.spr.tmp", "out.spr.vektmp", "victim"}));
}

TEST(WholeFileWrite, ALinkedTargetIsWrittenAtTheFileItPointsToAndStaysALink) {
    testing::TempDir dir;
    fs::create_directories(dir / "real");
    writeFileAtomically(dir / "real" / "a.spr", std::string_view("old"));
    fs::create_symlink("real/a.spr", dir / "a.spr");
    writeFileAtomically(dir / "a.spr", std::string_view("new"));
    EXPECT_TRUE(fs::is_symlink(dir / "a.spr"));
    EXPECT_EQ(readFileText(dir / "real" / "a.spr"), "new");
    EXPECT_EQ(folderContents(dir / "real"), std::vector<std::string>{"a.spr"});
}

TEST(WholeFileWrite, ATargetThatIsNoRegularFileIsRefusedWithItsName) {
    testing::TempDir dir;
    fs::create_directories(dir / "folder.spr");
    fs::create_symlink("/dev/null", dir / "device.spr");
    for (const char* name : {"folder.spr", "device.spr"}) {
        try {
            writeFileAtomically(dir / name, std::string_view("x"));
            ADD_FAILURE() << name << " was written";
        } catch (const VekError& error) {
            EXPECT_EQ(error.text("english"), "The target is not a regular file") << name;
            EXPECT_EQ(error.detail().file, pathToUtf8(dir / name));
        }
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder.spr"));
    EXPECT_EQ(folderContents(dir.path()), (std::vector<std::string>{"device.spr", "folder.spr"}));
}

TEST(WholeFileWrite, AFailureWhileWritingLeavesTheOldFileAndNoTemporaryFile) {
    testing::TempDir dir;
    writeFileAtomically(dir / "a.txt", std::string_view("old"));
    EXPECT_THROW(writeFileAtomically(dir / "a.txt",
                                     [](std::ostream& out) {
                                         out << std::string(200000, 'x');
                                         throw std::runtime_error("stop");
                                     }),
                 std::runtime_error);
    EXPECT_EQ(readFileText(dir / "a.txt"), "old");
    EXPECT_EQ(folderContents(dir.path()), std::vector<std::string>{"a.txt"});
    // Large contents arrive whole, past the blocks they are written in.
    const std::string large(300001, 'y');
    writeFileAtomically(dir / "a.txt", [&](std::ostream& out) { out << large; });
    EXPECT_EQ(readFileText(dir / "a.txt"), large);
}

TEST(WholeFileWrite, AReplacedFileKeepsModeAndOwnerAndAReadOnlyOneIsRefused) {
    const struct {
        fs::perms mode;
        bool refused;
    } cases[] = {{fs::perms::owner_read | fs::perms::owner_write, false},
                 {fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read, false},
                 {fs::perms::owner_all | fs::perms::others_read, false},
                 {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, true}};
    for (const auto& c : cases) {
        testing::TempDir dir;
        writeFileAtomically(dir / "user.reg", std::string_view("old"));
        fs::permissions(dir / "user.reg", c.mode);
        try {
            writeFileAtomically(dir / "user.reg", std::string_view("new"));
            EXPECT_FALSE(c.refused);
        } catch (const VekError& error) {
            EXPECT_TRUE(c.refused) << error.what();
            EXPECT_EQ(error.text("english"), "The file cannot be replaced: it is read-only");
        }
        EXPECT_EQ(readFileText(dir / "user.reg"), c.refused ? "old" : "new");
        EXPECT_EQ(fs::status(dir / "user.reg").permissions(), c.mode);
        EXPECT_EQ(folderContents(dir.path()), std::vector<std::string>{"user.reg"});
    }
    if (::geteuid() != 0) return;  // only the superuser can give a file to someone else
    testing::TempDir dir;
    writeFileAtomically(dir / "world.sfc", std::string_view("old"));
    ASSERT_EQ(::chown((dir / "world.sfc").c_str(), 4321, 4322), 0);
    writeFileAtomically(dir / "world.sfc", std::string_view("new"));
    struct stat facts {};
    ASSERT_EQ(::stat((dir / "world.sfc").c_str(), &facts), 0);
    EXPECT_EQ(facts.st_uid, 4321u);
    EXPECT_EQ(facts.st_gid, 4322u);
}

TEST(WholeFileWrite, ABrokenHardLinkIsToldAndTheLongestNamesCanBeWritten) {
    testing::TempDir dir;
    std::vector<std::string> told;
    setWriteNoticeSink([&told](const BilingualText& notice, const fs::path& file) {
        told.push_back(pathToUtf8(file.filename()) + ": " + notice.english);
    });
    writeFileAtomically(dir / "a.spr", std::string_view("old"));
    fs::create_hard_link(dir / "a.spr", dir / "b.spr");
    writeFileAtomically(dir / "a.spr", std::string_view("new"));
    writeFileAtomically(dir / "a.spr", std::string_view("newer"));  // one name left: nothing told
    setWriteNoticeSink({});
    EXPECT_EQ(told, std::vector<std::string>{
                        "a.spr: The file had other hard links; they keep the old contents."});
    EXPECT_EQ(readFileText(dir / "b.spr"), "old");

    for (const std::size_t length : {232u, 248u, 255u}) {
        const std::string name = std::string(length - 4, 'n') + ".spr";
        writeFileAtomically(dir / name, std::string_view("x"));
        writeFileAtomically(dir / name, std::string_view("y"));
        EXPECT_EQ(readFileText(dir / name), "y") << length;
        fs::remove(dir / name);
    }
    EXPECT_EQ(folderContents(dir.path()), (std::vector<std::string>{"a.spr", "b.spr"}));
}

TEST(WholeFileWrite, TemporaryFilesLeftByAKilledWriteAreRemovedOnlyWhenStaleAndOurs) {
    testing::TempDir dir;
    const auto age = fs::file_time_type::clock::now() - kStaleTemporaryAge - std::chrono::hours(1);
    const struct {
        const char* name;
        bool old;
        bool removed;
    } cases[] = {
        {".vek0123abcd.tmp", true, true},       // a killed write's, a day old
        {".vekfedcba98.tmp", false, false},     // perhaps a write running now
        {".vek0123ABCD.tmp", true, false},      // upper case: not a name we make
        {".vek0123abc.tmp", true, false},       // seven digits
        {".vek0123abcde.tmp", true, false},     // nine digits
        {".vek0123abcd.tmp.bak", true, false},  // the user's copy
        {"vek0123abcd.tmp", true, false},       // not hidden
        {"notes.tmp", true, false},
    };
    for (const auto& c : cases) {
        std::ofstream(dir / c.name) << "left";
        if (c.old) fs::last_write_time(dir / c.name, age);
    }
    // A folder and a link of our pattern are never ours to remove.
    fs::create_directory(dir / ".vek11111111.tmp");
    fs::last_write_time(dir / ".vek11111111.tmp", age);
    fs::create_symlink("notes.tmp", dir / ".vek22222222.tmp");

    writeFileAtomically(dir / "a.spr", std::string_view("new"));
    for (const auto& c : cases) EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
    EXPECT_TRUE(fs::is_directory(dir / ".vek11111111.tmp"));
    EXPECT_TRUE(fs::is_symlink(dir / ".vek22222222.tmp"));
    EXPECT_EQ(readFileText(dir / "a.spr"), "new");

    // The folder is swept once a run: what appears later waits for the next run.
    std::ofstream(dir / ".vek33333333.tmp") << "left";
    fs::last_write_time(dir / ".vek33333333.tmp", age);
    writeFileAtomically(dir / "b.spr", std::string_view("new"));
    EXPECT_TRUE(fs::exists(dir / ".vek33333333.tmp"));
}

}  // namespace
}  // namespace vek
