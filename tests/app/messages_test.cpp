#include <gtest/gtest.h>

#include "app/messages.h"

namespace vek {
namespace {

TEST(Messages, FillPutsThePartsInPlaceOfTheirNumbers) {
    const struct {
        Bilingual message;
        std::initializer_list<std::string_view> parts;
        const char* english;
        const char* german;
    } cases[] = {
        {{"The file holds %1 bytes; at most %2", "%2 höchstens, %1 Bytes"},
         {"70", "64"},
         "The file holds 70 bytes; at most 64",
         "64 höchstens, 70 Bytes"},
        {{"zoom %1%", "Zoom %1% zu groß"}, {"800"}, "zoom 800%", "Zoom 800% zu groß"},
        // A part is not read again, a number without a part and a lone % stay as they are.
        {{"%1 and %2", "%1 und %3"}, {"%2", "b"}, "%2 and b", "%2 und %3"},
        {{"100 %", "%"}, {"x"}, "100 %", "%"},
    };
    for (const auto& c : cases) {
        const BilingualText text = fill(c.message, c.parts);
        EXPECT_EQ(text.english, c.english);
        EXPECT_EQ(text.german, c.german);
    }
}

TEST(Messages, FillPutsEachLanguagesPartIntoItsOwnLanguage) {
    const BilingualText reason{"file too short", "Datei zu kurz"};
    const BilingualText count{"7", "7"};
    const BilingualText text =
        fill({"The bitmap is not valid (%1), %2", "Bitmap ungültig (%1), %2"}, {reason, count});
    EXPECT_EQ(text.english, "The bitmap is not valid (file too short), 7");
    EXPECT_EQ(text.german, "Bitmap ungültig (Datei zu kurz), 7");
}

TEST(Messages, ControlCharactersAreShownEscapedAndLayoutKept) {
    const struct {
        std::string_view text;
        std::string shown;
    } cases[] = {
        {"plain \xc3\xa4 text", "plain \xc3\xa4 text"},
        {"line\nnext\ttab", "line\nnext\ttab"},
        {std::string_view("a\0b", 3), "a\\0b"},
        {"\x1b]0;title\x07\x1b[2J", "\\x1b]0;title\\x07\\x1b[2J"},
        {"\r\x7f", "\\x0d\\x7f"},
        // C1 controls as UTF-8 (CSI, the highest), and bidirectional controls that reorder
        // what follows them: "abc<RLO>gpj.exe" would show as "abcexe.jpg".
        {"\xc2\x9b"
         "2J \xc2\x9f \xc2\xa0",
         "\\u009b2J \\u009f \xc2\xa0"},
        {"abc\xe2\x80\xae"
         "gpj.exe",
         "abc\\u202egpj.exe"},
        {"\xe2\x80\xaa\xe2\x81\xa6\xe2\x81\xa9\xe2\x80\x8f\xd8\x9c",
         "\\u202a\\u2066\\u2069\\u200f\\u061c"},
        {"\xe2\x80\x94 \xe2\x82\xac", "\xe2\x80\x94 \xe2\x82\xac"},
        // Bytes that are no UTF-8 character (a lone CSI byte, a cut-off sequence) as bytes.
        {"\x9b"
         "2J \xe2\x80",
         "\\x9b2J \\xe2\\x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(escapeControlCharacters(c.text), c.shown);
}

// Code page 1252 text: 0x80 to 0x9F are characters (0x9B is a quotation mark) but for the five
// the code page leaves unassigned, which are C1 controls.
TEST(Messages, CodePageTextComesOutAsUtf8WithItsControlsEscaped) {
    const struct {
        std::string_view text;
        std::string shown;
    } cases[] = {
        {"\x9b"
         "a\x9c \x80 \xfc",
         "\xe2\x80\xba"
         "a\xc5\x93 \xe2\x82\xac \xc3\xbc"},
        {"\x81\x8d\x8f\x90\x9d", "\\u0081\\u008d\\u008f\\u0090\\u009d"},
        {"\x1b[31m\x07", "\\x1b[31m\\x07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(escapeControlCharacters(c.text, TextEncoding::Windows1252), c.shown);
}

TEST(Messages, ATokenIsQuotedUpToSixtyCharacters) {
    EXPECT_EQ(shortenedToken(std::string(60, 'a')), std::string(60, 'a'));
    EXPECT_EQ(shortenedToken(std::string(61, 'a')), std::string(60, 'a') + "...");
    std::string umlauts;
    for (int i = 0; i < 70; ++i) umlauts += "\xc3\xbc";
    EXPECT_EQ(shortenedToken(umlauts), umlauts.substr(0, 120) + "...");
    EXPECT_EQ(shortenedToken(""), "");
}

}  // namespace
}  // namespace vek
