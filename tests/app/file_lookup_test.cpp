#include <gtest/gtest.h>

#include <fstream>

#include "app/file_lookup.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

namespace fs = std::filesystem;

TEST(FileLookup, FindsEachComponentWhateverItsCaseAndKeepsWhatMatchesNothing) {
    testing::TempDir dir;
    fs::create_directories(dir.path() / "Images");
    std::ofstream(dir.path() / "Images" / "vbal.spr") << "x";
    std::ofstream(dir.path() / "mu02.WAV") << "x";

    struct Case {
        const char* asked;
        fs::path expected;
    };
    const Case cases[] = {
        {"Images/vbal.spr", dir.path() / "Images" / "vbal.spr"},
        {"IMAGES\\VBAL.SPR", dir.path() / "Images" / "vbal.spr"},
        {"MU02.wav", dir.path() / "mu02.WAV"},
        {"images/missing.spr", dir.path() / "Images" / "missing.spr"},
        {"Absent/vbal.spr", dir.path() / "Absent" / "vbal.spr"},
        {"", dir.path()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findIgnoringCase(dir.path(), c.asked), c.expected) << c.asked;
}

TEST(FileLookup, ComparesOnlyAsciiLettersWithoutCase) {
    EXPECT_TRUE(equalsIgnoringCase("Macro Directory", "macro DIRECTORY"));
    EXPECT_FALSE(equalsIgnoringCase("mac", "macs"));
    EXPECT_FALSE(equalsIgnoringCase("\xC4", "\xE4"));
}

}  // namespace
}  // namespace vek
