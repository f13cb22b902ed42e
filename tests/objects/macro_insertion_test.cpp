#include <gtest/gtest.h>

#include "app/file_io.h"
#include "objects/macro_insertion.h"
#include "support/temp_dir.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

using testing::errorOf;
using Lines = std::vector<std::string>;

TEST(MacroInsertion, TheHeadingAndScrpLineComeFromTheFileName) {
    const Lines lines = macroInsertionLines("02050301.MAC", Lines{"snde drip"});
    const Lines expected = {"", "*Macro inserted from file - be carefull with the Class!", "",
                            "scrp 2 5 3 1", "\tsnde drip"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(macroInsertionLines("00000000.MAC", Lines{})[3], "scrp 0 0 0 0")
        << "leading zeros go";
    EXPECT_EQ(macroInsertionLines("12345678abc.mac", Lines{})[3], "scrp 12 34 56 78");
}

TEST(MacroInsertion, EnclosingQuotesGoAndEveryLineButEndmIsIndented) {
    const Lines file = {"\"doif obv0 eq 0", "setv obv0 1", "", "\"", " endm", "endm\""};
    const Lines lines = macroInsertionLines("02050301.MAC", file);
    const Lines body(lines.begin() + 4, lines.end());
    const Lines expected = {"\tdoif obv0 eq 0", "\tsetv obv0 1", "\t", "\t", "\t endm", "endm"};
    EXPECT_EQ(body, expected);
}

TEST(MacroInsertion, ANameThatIsNotFourTwoDigitNumbersIsRefused) {
    EXPECT_EQ(errorOf([] { macroInsertionLines("ab050301.MAC", Lines{"x"}); }),
              "'ab' ist kein gültiger Integerwert");
    EXPECT_EQ(errorOf([] { macroInsertionLines("0205x301.MAC", Lines{"x"}); }),
              "'x3' ist kein gültiger Integerwert");
    EXPECT_EQ(errorOf([] { macroInsertionLines("0205.MAC", Lines{"x"}); }),
              "'.M' ist kein gültiger Integerwert");
    EXPECT_EQ(errorOf([] { macroInsertionLines("020503", Lines{"x"}); }),
              "'' ist kein gültiger Integerwert");
}

TEST(MacroInsertion, FilesAreReadAsAnsiText) {
    testing::TempDir dir;
    writeFileAtomically(dir / "01020304.MAC", std::string_view("\"sndc \xE4\r\nendm\"\r\n"));
    const Lines lines = readMacroForInsertion(dir / "01020304.MAC");
    EXPECT_EQ(lines[3], "scrp 1 2 3 4");
    EXPECT_EQ(lines[4], "\tsndc ä");
    EXPECT_EQ(lines[5], "endm");
    EXPECT_EQ(errorOf([&] { readMacroForInsertion(dir / "09090909.MAC"); }),
              std::string_view(kFileNotFound));
    EXPECT_EQ(joinInsertedLines(lines),
              "\n*Macro inserted from file - be carefull with the Class!\n\nscrp 1 2 3 4\n\tsndc "
              "ä\nendm");
    EXPECT_EQ(macroInsertionText(dir / "01020304.MAC"), joinInsertedLines(lines) + "\n")
        << "the text after the caret must not run into endm";
}

TEST(MacroInsertion, TheMacroFolderAndItsFilesAreFoundInAnyLetterCase) {
    testing::TempDir dir;
    EXPECT_EQ(macroDirectory(dir.path()), dir / "mac");
    EXPECT_TRUE(macroFileNames(dir / "mac").empty());
    std::filesystem::create_directories(dir / "MAC");
    for (const char* name : {"02050301.MAC", "01010101.mac", "notes.txt", "x.MACRO"}) {
        writeFileAtomically(dir / "MAC" / name, std::string_view("endm\r\n"));
    }
    EXPECT_EQ(macroDirectory(dir.path()), dir / "MAC");
    EXPECT_EQ(macroFileNames(dir / "MAC"), (Lines{"01010101.mac", "02050301.MAC"}));
}

}  // namespace
}  // namespace vek
