#include "app/recent_files.h"

#include <gtest/gtest.h>

#include "app/file_io.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

namespace fs = std::filesystem;

TEST(RecentFiles, KeepTheLastEightOfEachKindNewestFirstAcrossRuns) {
    testing::TempDir dir;
    const fs::path store = recentFilesBeside(dir / "VEK.INI");
    EXPECT_EQ(store, dir / "RECENT.INI");
    {
        RecentFiles recent(store);
        EXPECT_TRUE(recent.files(RecentKind::Sprites).empty());
        EXPECT_FALSE(recent.lastFolder(RecentKind::Sprites));
        for (int i = 0; i < 10; ++i)
            recent.add(RecentKind::Sprites, dir / (std::to_string(i) + ".spr"));
        recent.add(RecentKind::Sprites, dir / "5.spr");  // again: moves to the front, once
        recent.add(RecentKind::Sources, dir / "a.cos");
    }
    const RecentFiles again(store);
    const std::vector<fs::path> expected = {dir / "5.spr", dir / "9.spr", dir / "8.spr",
                                            dir / "7.spr", dir / "6.spr", dir / "4.spr",
                                            dir / "3.spr", dir / "2.spr"};
    EXPECT_EQ(again.files(RecentKind::Sprites), expected);
    EXPECT_EQ(again.files(RecentKind::Sources), std::vector<fs::path>{dir / "a.cos"});
    EXPECT_TRUE(again.files(RecentKind::Pictures).empty());
    EXPECT_EQ(again.lastFolder(RecentKind::Sources), dir.path());
    EXPECT_FALSE(fs::exists(dir / "VEK.INI")) << "VEK.INI keeps its two settings only";
}

TEST(RecentFiles, AFolderThatWentAndAnUnwritableStoreAreNoErrors) {
    testing::TempDir dir;
    fs::create_directory(dir / "gone");
    RecentFiles recent(dir / "RECENT.INI");
    recent.add(RecentKind::Pictures, dir / "gone" / "a.png");
    fs::remove(dir / "gone");
    EXPECT_FALSE(recent.lastFolder(RecentKind::Pictures));

    RecentFiles nowhere(dir / "missing" / "RECENT.INI");
    EXPECT_NO_THROW(nowhere.add(RecentKind::Sprites, dir / "b.spr"));
    EXPECT_EQ(nowhere.files(RecentKind::Sprites).size(), 1u);
}

}  // namespace
}  // namespace vek
