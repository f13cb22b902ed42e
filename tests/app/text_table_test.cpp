#include <gtest/gtest.h>

#include "app/text_table.h"
#include "app/vek_error.h"

namespace vek {
namespace {

TEST(TextTable, FindsTextsByIdentifierOffsets) {
    const TextTable table = TextTable::decode(
        "# comment\n2\tSa&ve\tSp&eichern\tSaves\tSpeichert\n47\t\t\tColor 1\tFarbe 1\n");
    EXPECT_EQ(table.caption(2, 0), "Sa&ve");
    EXPECT_EQ(table.caption(2, 1000), "Sp&eichern");
    EXPECT_EQ(table.text(2002), "Saves");
    EXPECT_EQ(table.hint(2, 1000), "Speichert");
    EXPECT_EQ(table.caption(47, 0), "");
    EXPECT_EQ(table.hint(47, 0), "Color 1");
    EXPECT_EQ(table.text(999), "");
    EXPECT_EQ(table.tags(), (std::vector<int>{2, 47}));
}

TEST(TextTable, RejectsMalformedLines) {
    EXPECT_THROW(TextTable::decode("2\tonly\ttwo\n"), VekError);
    EXPECT_THROW(TextTable::decode("x\ta\tb\tc\td\n"), VekError);
    EXPECT_THROW(TextTable::decode("1000\ta\tb\tc\td\n"), VekError);
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

}  // namespace
}  // namespace vek
