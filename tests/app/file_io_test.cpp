#include <gtest/gtest.h>

#include <stdexcept>

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

}  // namespace
}  // namespace vek
