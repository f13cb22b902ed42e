#include "app/window_places.h"

#include <gtest/gtest.h>

#include "app/file_io.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

namespace fs = std::filesystem;

TEST(WindowPlaces, KeepEachWindowsLastPlaceAcrossRuns) {
    testing::TempDir dir;
    const fs::path store = windowPlacesBeside(dir / "VEK.INI");
    EXPECT_EQ(store, dir / "WINDOWS.INI");
    {
        WindowPlaces places(store);
        EXPECT_FALSE(places.place("TForm2"));
        places.remember("TForm2", {10, 20, 640, 480});
        places.remember("Vivarium", {-1200, 0, 1000, 700});  // a screen left of the first
        places.remember("TForm2", {30, 40, 800, 600});       // the last place wins
    }
    const WindowPlaces again(store);
    EXPECT_EQ(again.place("TForm2"), (WindowPlace{30, 40, 800, 600}));
    EXPECT_EQ(again.place("Vivarium"), (WindowPlace{-1200, 0, 1000, 700}));
    EXPECT_FALSE(again.place("TForm3"));
}

TEST(WindowPlaces, ReadOnlyWhatIsWholeAndKeepNothingThatWouldBreakALine) {
    testing::TempDir dir;
    const fs::path store = dir / "WINDOWS.INI";
    writeFileAtomically(store, std::string_view("TForm2=1,2,300,200\r\n"
                                                "TForm3=1,2,300\r\n"
                                                "TForm4=1,2,300,200,9\r\n"
                                                "TForm5=1,2,0,200\r\n"
                                                "TForm6=a,2,300,200\r\n"
                                                "=1,2,300,200\r\n"
                                                "TForm7 1,2,300,200\r\n"
                                                "TForm8=99999999999,2,300,200\r\n"));
    WindowPlaces places(store);
    EXPECT_EQ(places.place("TForm2"), (WindowPlace{1, 2, 300, 200}));
    for (const char* broken : {"TForm3", "TForm4", "TForm5", "TForm6", "", "TForm7", "TForm8"})
        EXPECT_FALSE(places.place(broken)) << broken;

    places.remember("a=b", {1, 2, 3, 4});
    places.remember("two\nlines", {1, 2, 3, 4});
    places.remember("Empty", {1, 2, 0, 4});
    places.remember("TForm9", {5, 6, 7, 8});
    const WindowPlaces again(store);
    EXPECT_FALSE(again.place("lines")) << "a line break in a name would start a line of its own";
    EXPECT_FALSE(again.place("Empty"));
    EXPECT_EQ(again.place("TForm9"), (WindowPlace{5, 6, 7, 8}));
    EXPECT_EQ(again.place("TForm2"), (WindowPlace{1, 2, 300, 200}));
}

TEST(WindowPlaces, AStoreThatCannotBeReadOrWrittenOnlyLosesTheMemory) {
    testing::TempDir dir;
    fs::create_directory(dir / "WINDOWS.INI");  // a folder where the file would be
    WindowPlaces places(dir / "WINDOWS.INI");
    EXPECT_FALSE(places.place("TForm2"));
    places.remember("TForm2", {1, 2, 3, 4});
    EXPECT_EQ(places.place("TForm2"), (WindowPlace{1, 2, 3, 4}));
}

}  // namespace
}  // namespace vek
