#include <gtest/gtest.h>

#include <algorithm>

#include "app/text_names.h"
#include "app/text_table.h"
#include "app/vek_error.h"

namespace vek {
namespace {

TEST(TextTable, FindsTextsByIdentifierOffsets) {
    const TextTable table = TextTable::decode(
        "# comment\n2\tSave\tSa&ve\tSp&eichern\tSaves\tSpeichert\n47\tColor1\t\t\tColor 1\tFarbe "
        "1\n");
    EXPECT_EQ(table.caption(2, 0), "Sa&ve");
    EXPECT_EQ(table.caption(2, 1000), "Sp&eichern");
    EXPECT_EQ(table.text(2002), "Saves");
    EXPECT_EQ(table.hint(2, 1000), "Speichert");
    EXPECT_EQ(table.caption(47, 0), "");
    EXPECT_EQ(table.hint(47, 0), "Color 1");
    EXPECT_EQ(table.text(999), "");
    EXPECT_EQ(table.tags(), (std::vector<int>{2, 47}));
    EXPECT_EQ(table.tagNamed("Color1"), 47);
    EXPECT_EQ(table.tagNamed("Save"), 2);
    EXPECT_EQ(table.tagNamed("Sa&ve"), 0);
}

TEST(TextTable, RejectsMalformedLines) {
    for (const char* malformed :
         {"2\tonly\ttwo\n", "x\tX\ta\tb\tc\td\n", "1000\tX\ta\tb\tc\td\n", "2\ta\tb\tc\td\n",
          "2\t\ta\tb\tc\td\n", "2\t1st\ta\tb\tc\td\n", "2\tSa ve\ta\tb\tc\td\n",
          "2\tSave\ta\tb\tc\td\n3\tSave\ta\tb\tc\td\n"}) {
        EXPECT_THROW(TextTable::decode(malformed), VekError) << malformed;
    }
}

TEST(TextTable, TheBuiltInTableHoldsTheDesignedTexts) {
    const TextTable& table = TextTable::builtIn();
    EXPECT_EQ(table.caption(21, 0), "&More Eggs");
    EXPECT_EQ(table.caption(21, 1000), "&Neue Ei-Disk");
    EXPECT_EQ(table.caption(23, 1000), "NornEl Ei-Disk (Grendel &Väter)");
    EXPECT_EQ(table.caption(24, 1000), "GreNorn Ei-Disk (Grendel &Mütter)");
    EXPECT_EQ(table.caption(15, 0), table.caption(15, 1000));
    EXPECT_NE(table.hint(15, 0), table.hint(15, 1000));
    EXPECT_EQ(table.hint(89, 0), "Starts the Sprite Editor");
    EXPECT_EQ(table.hint(2, 1000),
              "Der aktuelle Sprite wird in die geladene Sprite Datei gespeichert");
    EXPECT_EQ(table.caption(95, 1000), "COB zu Source &discompilieren ");
    EXPECT_EQ(table.caption(29, 0), "Enable &Pebble Cheat");
    EXPECT_EQ(table.caption(47, 0), "");
    EXPECT_FALSE(table.hint(47, 0).empty());
}

TEST(TextTable, EveryBuiltInTextFitsAStringResource) {
    const TextTable& table = TextTable::builtIn();
    int captions = 0;
    for (int tag : table.tags()) {
        EXPECT_GT(tag, 0);
        EXPECT_LE(tag, 180);
        for (int identifier : {tag, tag + 1000, tag + 2000, tag + 3000}) {
            const std::string text = table.text(identifier);
            std::size_t characters = 0;
            for (unsigned char c : text) characters += (c & 0xC0) != 0x80;
            EXPECT_LE(characters, TextTable::kMaxTextLength) << identifier;
        }
        captions += !table.caption(tag, 0).empty();
    }
    EXPECT_EQ(captions, 153);
}

TEST(TextTable, TheGeneratedNamesAreTheTagsOfTheirRows) {
    const TextTable& table = TextTable::builtIn();
    const std::pair<const char*, int> named[] = {{"OpenSpriteFile", Tag::OpenSpriteFile},
                                                 {"MoreEggs", Tag::MoreEggs},
                                                 {"BackgroundColor", Tag::BackgroundColor},
                                                 {"FileMenu", Tag::FileMenu}};
    for (const auto& [name, tag] : named) EXPECT_EQ(table.tagNamed(name), tag) << name;
    EXPECT_EQ(table.caption(Tag::OpenSpriteFile, 0), "&Open Sprite File...");
}

TEST(TextTable, MessageRowsHaveANameAndBothLanguages) {
    const TextTable table = TextTable::decode(
        "2\tSave\tSa&ve\t\t\t\nmsg\tSavedNote\tSaved %1\t%1 gespeichert\nmsg\tSave\ta\tb\n");
    EXPECT_EQ(table.messageNames(), (std::vector<std::string>{"Save", "SavedNote"}));
    EXPECT_EQ(table.tags(), (std::vector<int>{2}));
    for (const char* malformed :
         {"msg\tOnly\tEnglish\n", "msg\tNoGerman\tEnglish\t\n", "msg\t\tEnglish\tDeutsch\n",
          "msg\tTwice\ta\tb\nmsg\tTwice\tc\td\n"}) {
        EXPECT_THROW(TextTable::decode(malformed), VekError) << malformed;
    }
}

TEST(TextTable, TheGeneratedMessagesCarryTheirRowsTexts) {
    const auto names = TextTable::builtIn().messageNames();
    for (const char* name : {"UndoCaption", "SavedNote", "SpriteEditorOpenTitle"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    const Bilingual pairs[] = {Msg::UndoCaption, Msg::SavedNote, Msg::SpriteEditorOpenTitle};
    for (const Bilingual& pair : pairs) {
        EXPECT_FALSE(pair.english.empty());
        EXPECT_FALSE(pair.german.empty());
        EXPECT_NE(pair.english, pair.german);
    }
    EXPECT_EQ(Msg::SavedNote.english, "Saved %1");
}

TEST(TextTable, EscapesInAMessageStandForLineBreaksBlanksAndBackslashes) {
    const TextTable table = TextTable::decode(
        "msg\tCredits\tOne\\nTwo\tEins\\n\\nZwei\nmsg\tPrompt\tName:\\s\tName:\\s\\s\n"
        "msg\tPath\tC:\\\\new\ta\\x\\\n");
    const struct {
        const char* name;
        const char* english;
        const char* german;
    } cases[] = {{"Credits", "One\nTwo", "Eins\n\nZwei"},
                 {"Prompt", "Name: ", "Name:  "},
                 {"Path", "C:\\new", "a\\x\\"}};
    for (const auto& c : cases) {
        const BilingualText* texts = table.message(c.name);
        ASSERT_NE(texts, nullptr) << c.name;
        EXPECT_EQ(texts->english, c.english) << c.name;
        EXPECT_EQ(texts->german, c.german) << c.name;
    }
    EXPECT_EQ(table.message("Missing"), nullptr);
}

// The build and the program read the same rows: every generated constant holds its row's texts.
TEST(TextTable, EveryGeneratedMessageHoldsItsRowsTexts) {
    const TextTable& table = TextTable::builtIn();
    EXPECT_EQ(std::size(Msg::kAllMessages), table.messageNames().size());
    for (const auto& [name, pair] : Msg::kAllMessages) {
        const BilingualText* texts = table.message(name);
        ASSERT_NE(texts, nullptr) << name;
        EXPECT_EQ(pair.english, texts->english) << name;
        EXPECT_EQ(pair.german, texts->german) << name;
    }
}

}  // namespace
}  // namespace vek
