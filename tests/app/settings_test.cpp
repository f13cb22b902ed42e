#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/settings.h"
#include "app/vek_error.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

using testing::TempDir;

TEST(VekIni, FirstStartWritesTheDefaultsButKeepsWhiteForThisRun) {
    TempDir dir;
    const VekIni ini(dir / "cfg" / "VEK.INI");
    const StartupSettings first = readStartupSettings(ini);
    EXPECT_TRUE(first.firstStart);
    EXPECT_EQ(first.language, "english");
    EXPECT_EQ(first.spriteBackground, 0xFFFFFFu);
    EXPECT_EQ(ini.read("Language", "Language", "?"), "english");
    EXPECT_EQ(ini.read("Color", "SBGC", "?"), "$000000");

    const StartupSettings second = readStartupSettings(ini);
    EXPECT_FALSE(second.firstStart);
    EXPECT_EQ(second.spriteBackground, 0u);
}

TEST(VekIni, ColourValuesInDecimalAndHexadecimalAreTheSameColour) {
    EXPECT_EQ(parseColorValue("16711680"), parseColorValue("$FF0000"));
    EXPECT_EQ(blueOf(parseColorValue("$FF0000")), 0xFF);
    EXPECT_EQ(redOf(parseColorValue("$FF0000")), 0);
    EXPECT_EQ(parseColorValue(" $00ff00 "), 0x00FF00u);
    EXPECT_EQ(parseColorValue("-1"), 0xFFFFFFFFu);
    for (const char* bad : {"", "$", "12a", "blue", "$GG", "99999999999"}) {
        EXPECT_THROW(parseColorValue(bad), VekError) << bad;
    }
    try {
        parseColorValue("blue");
    } catch (const VekError& error) {
        EXPECT_STREQ(error.what(), "'blue' ist kein gültiger Integerwert");
    }
}

TEST(VekIni, ANonIntegerColourFallsBackToTheDefaultInsteadOfFailing) {
    TempDir dir;
    writeFileAtomically(
        dir / "VEK.INI",
        std::string_view("[Color]\r\nSBGC=purple\r\n[Language]\r\nLanguage=deutsch\r\n"));
    const StartupSettings settings = readStartupSettings(VekIni(dir / "VEK.INI"));
    EXPECT_EQ(settings.spriteBackground, 0xFFFFFFu);
    EXPECT_EQ(settings.unreadableColor, "purple");
    EXPECT_EQ(settings.language, "deutsch");
    EXPECT_FALSE(settings.firstStart);
}

TEST(VekIni, WritingKeepsOtherLinesAndFindsSectionsAndKeysWithoutCase) {
    TempDir dir;
    const auto file = dir / "VEK.INI";
    writeFileAtomically(
        file, std::string_view("garbage line\n[color]\nsbgc = 255\nOther=1\n\n[Mine]\nx=y\n"));
    const VekIni ini(file);
    EXPECT_EQ(ini.read("Color", "SBGC", "?"), "255");
    ini.writeSpriteBackground(0x123456);
    ini.writeLanguage("deutsch");
    EXPECT_EQ(ini.read("Color", "SBGC", "?"), std::to_string(0x123456));
    EXPECT_EQ(ini.read("Color", "Other", "?"), "1");
    EXPECT_EQ(ini.read("Mine", "x", "?"), "y");
    EXPECT_EQ(ini.read("Language", "Language", "?"), "deutsch");
    EXPECT_EQ(ini.read("Language", "Missing", "ERROR"), "ERROR");
    const std::string text = readFileText(file);
    EXPECT_NE(text.find("garbage line"), std::string::npos);
}

TEST(VekIni, AFailedWriteSaysWhichFile) {
    TempDir dir;
    // A link to a folder is refused as a target, even for root.
    std::filesystem::create_directories(dir / "folder");
    const auto file = dir / "VEK.INI";
    std::filesystem::create_symlink(dir / "folder", file);
    try {
        VekIni(file).writeLanguage("deutsch");
        ADD_FAILURE() << "write succeeded";
    } catch (const VekError& error) {
        EXPECT_EQ(std::string(error.what()), "Kann nicht nach " + pathToUtf8(file) + " schreiben");
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
}

// A settings file beyond any real one is not read (the fallback holds) and never written over.
TEST(VekIni, AnOversizedFileIsNeitherReadNorReplaced) {
    TempDir dir;
    const auto file = dir / "VEK.INI";
    std::string text = "[Color]\r\nSBGC=255\r\n";
    text.resize(kMaxVekIniSize + 1, ';');
    writeFileAtomically(file, text);
    const VekIni ini(file);
    EXPECT_EQ(ini.read("Color", "SBGC", "fallback"), "fallback");
    EXPECT_THROW(ini.writeLanguage("deutsch"), VekError);
    EXPECT_EQ(readFileText(file), text);

    text.resize(kMaxVekIniSize);
    writeFileAtomically(file, text);
    EXPECT_EQ(ini.read("Color", "SBGC", "fallback"), "255");
}

TEST(VekIni, AnUnwritableFirstStartStillRunsInEnglish) {
    TempDir dir;
    // A file where the settings folder should be: the folder cannot be created.
    writeFileAtomically(dir / "blocked", std::string_view("x"));
    const StartupSettings settings = readStartupSettings(VekIni(dir / "blocked" / "VEK.INI"));
    EXPECT_EQ(settings.language, "english");
    ASSERT_TRUE(settings.writeError.has_value());
    EXPECT_NE(settings.writeError->find("Kann nicht nach"), std::string::npos);
}

}  // namespace
}  // namespace vek
