#include "app/vek_error.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vek {
namespace {

TEST(VekError, TheMessageIsTheTextInTheLanguageWithTheDetailOnASecondLine) {
    struct Case {
        ErrorDetail detail;
        std::string english;
        std::string german;
    };
    const Case cases[] = {
        {{}, "Not there", "Nicht da"},
        {ErrorDetail::ofFile("/game/ball.cob"), "Not there\n/game/ball.cob",
         "Nicht da\n/game/ball.cob"},
        {ErrorDetail::ofFile("/game/back.spr", 3714), "Not there\n/game/back.spr, byte 3714",
         "Nicht da\n/game/back.spr, Byte 3714"},
        {ErrorDetail::atLine(12), "Not there\nline 12", "Nicht da\nZeile 12"},
        {ErrorDetail::atByte(0), "Not there\nbyte 0", "Nicht da\nByte 0"},
    };
    for (const Case& test : cases) {
        const VekError error("Not there", "Nicht da", test.detail);
        EXPECT_EQ(error.message(kLanguageEnglish), test.english);
        EXPECT_EQ(error.message(kLanguageGerman), test.german);
        EXPECT_STREQ(error.what(), "Not there");
    }
}

TEST(VekError, TheRunTimeLibrarysMessagesReadTheSameInBothLanguages) {
    const VekError error = VekError::runtime(kFileNotFound);
    EXPECT_EQ(error.text(kLanguageEnglish), std::string_view(kFileNotFound));
    EXPECT_EQ(error.text(kLanguageGerman), std::string_view(kFileNotFound));
    EXPECT_EQ(invalidIntegerError("x").text(kLanguageGerman), "'x' ist kein gültiger Integerwert");
}

// The command line tells the run-time library's messages in English, with the control
// characters of a name escaped; the boxes keep the German.
TEST(VekError, TheCommandLineTellsTheRunTimeLibrarysMessagesInEnglish) {
    const struct {
        VekError error;
        std::string box;
        std::string commandLine;
    } cases[] = {
        {VekError::runtime(kFileNotFound, ErrorDetail::ofFile("a\x1b[2J.spr")),
         "Datei nicht gefunden\na\x1b[2J.spr", "File not found\na\\x1b[2J.spr"},
        {VekError::runtime(kReadPastEndOfFile, ErrorDetail::atByte(7)),
         "Lesen nach Dateiende (EOF)\nbyte 7", "Read past the end of the file (EOF)\nbyte 7"},
        {invalidIntegerError("x"), "'x' ist kein gültiger Integerwert",
         "'x' is not a valid integer"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.error.message(kLanguageEnglish), c.box);
        EXPECT_EQ(commandLineMessage(c.error), c.commandLine);
    }
    EXPECT_EQ(commandLineMessage(std::runtime_error("bad\x07 bell")), "bad\\x07 bell");
}

TEST(VekError, AReadNamesItsFileUnlessTheErrorNamesOneAlready) {
    try {
        readingFile("/a.cob", []() -> int {
            throw VekError::runtime(kReadPastEndOfFile, ErrorDetail::atByte(7));
        });
    } catch (const VekError& error) {
        EXPECT_EQ(error.message(kLanguageEnglish),
                  std::string(kReadPastEndOfFile) + "\n/a.cob, byte 7");
    }
    try {
        readingFile("/a.cob", []() -> int {
            throw VekError::runtime(kFileNotFound, ErrorDetail::ofFile("/b.cob"));
        });
    } catch (const VekError& error) {
        EXPECT_EQ(error.detail().file, "/b.cob");
    }
}

TEST(VekError, OtherFailuresSayWhatTheySay) {
    EXPECT_EQ(errorMessage(std::runtime_error("disk gone"), kLanguageGerman), "disk gone");
    EXPECT_EQ(errorMessage(VekError("A", "B", ErrorDetail::atLine(2)), kLanguageGerman),
              "B\nZeile 2");
}

}  // namespace
}  // namespace vek
