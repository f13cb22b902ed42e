#include <gtest/gtest.h>

#include "app/file_io.h"
#include "objects/cob_data.h"
#include "objects/cob_fields.h"
#include "support/temp_dir.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::errorOf;

// A full object: scripts, imports, a picture and a long text, for the truncation tests.
CobData fullObject() {
    CobData cob;
    cob.items = 1;
    cob.quantity = 3;
    cob.timelimitMonth = 12;
    cob.timelimitDay = 24;
    cob.timelimitYear = 1999;
    cob.used = 2;
    cob.scripts = {"scrp 2 5 3 1,snde drip,endm", std::string(300, 'x')};
    cob.imports = {"inst,new: simp ball 3 0 1000 0,endm"};
    cob.pictureWidth = 3;
    cob.pictureHeight = 2;
    cob.pictureWidthCopy = 3;
    cob.picturePixels = {1, 2, 3, 4, 5, 6};
    cob.name = "Ball";
    return cob;
}

TEST(CobFile, TheNewObjectIsTheFortyThreeBytesOfTheWorkedExample) {
    const Bytes expected = {0x01, 0x00, 0x00, 0x00,                          // items, quantity
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // month, day
                            0x00, 0x00, 0x00, 0x00,                          // year
                            0x00, 0x00, 0x00, 0x00,  // script and import counts
                            0x00, 0x00, 0x00, 0x00,  // used
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // width, height
                            0x00, 0x00,                                      // width copy
                            0x07, 'u',  'n',  'k',  'n',  'o',  'w',  'n',  0x00};
    ASSERT_EQ(expected.size(), 43u);
    EXPECT_EQ(encodeCob(CobData{}), expected);
    EXPECT_EQ(decodeCob(expected), CobData{});
}

TEST(CobFile, HeaderFieldsStandInTheirOrder) {
    CobData cob;
    cob.items = 1;
    cob.quantity = 0x0102;
    cob.timelimitMonth = 7;
    cob.timelimitDay = 8;
    cob.timelimitYear = 2000;
    cob.used = -1;
    cob.scripts = {"s"};
    cob.imports = {"i", "j"};
    const Bytes bytes = encodeCob(cob);
    const Bytes header = {1,    0,    0x02, 0x01, 7, 0, 0, 0, 8,    0,    0,    0,
                          0xD0, 0x07, 0,    0,    1, 0, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_GE(bytes.size(), header.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 24), header);
    EXPECT_EQ(bytes[24], 1);
    EXPECT_EQ(bytes[25], 's');
    EXPECT_EQ(decodeCob(bytes), cob);
}

TEST(CobFile, CobStringUsesTheShortFormUpTo254BytesAndTheLongFormFrom255) {
    for (std::size_t length : {0u, 1u, 254u}) {
        ByteWriter out;
        CobString::write(out, std::string(length, 'a'));
        ASSERT_EQ(out.size(), length + 1);
        EXPECT_EQ(out.data()[0], length);
    }
    for (std::size_t length : {255u, 256u, 65535u}) {
        ByteWriter out;
        CobString::write(out, std::string(length, 'b'));
        ASSERT_EQ(out.size(), length + 3);
        EXPECT_EQ(out.data()[0], 255);
        EXPECT_EQ(out.data()[1], length & 0xFF);
        EXPECT_EQ(out.data()[2], length >> 8);
        ByteReader in(out.data());
        EXPECT_EQ(CobString::read(in), std::string(length, 'b'));
        EXPECT_TRUE(in.atEnd());
    }
    CobData cob;
    cob.scripts = {std::string(254, 'x'), std::string(255, 'y')};
    EXPECT_EQ(decodeCob(encodeCob(cob)), cob);
}

TEST(CobFile, TextsOverTheSixteenBitLengthAreRefusedNotCut) {
    ByteWriter out;
    EXPECT_NE(errorOf([&] { CobString::write(out, std::string(65536, 'z')); }).find("65535"),
              std::string::npos);
    EXPECT_EQ(out.size(), 0u);

    testing::TempDir dir;
    const auto file = dir / "big.cob";
    writeCobFile(file, CobData{});
    CobData cob;
    cob.name = std::string(70000, 'n');
    EXPECT_THROW(writeCobFile(file, cob), VekError);
    EXPECT_EQ(readFileBytes(file).size(), 43u) << "a refused save leaves the old file as it was";
}

TEST(CobFile, MoreThanOneHundredScriptsOrImportsAreRefusedOnSaving) {
    CobData cob;
    cob.scripts.assign(100, "scrp 1 1 1 1,endm");
    EXPECT_NO_THROW(encodeCob(cob));
    cob.scripts.push_back("scrp 1 1 1 2,endm");
    const std::string message = errorOf([&] { encodeCob(cob); });
    EXPECT_NE(message.find("101 scripts"), std::string::npos) << message;
    EXPECT_NE(message.find("100"), std::string::npos) << message;
    cob.scripts.clear();
    cob.imports.assign(101, "inst,endm");
    EXPECT_THROW(encodeCob(cob), VekError);
}

TEST(CobFile, TheLimitMessageExistsInBothLanguages) {
    CobData cob;
    cob.imports.assign(150, "inst,endm");
    try {
        encodeCob(cob);
        FAIL() << "not refused";
    } catch (const VekError& error) {
        EXPECT_NE(error.text(kLanguageEnglish).find("150 imports"), std::string::npos);
        EXPECT_NE(error.text(kLanguageGerman).find("150 Imports"), std::string::npos);
    }
}

TEST(CobFile, AnEmptyNameIsItsLengthZeroAndTheFinalZero) {
    CobData cob;
    cob.name.clear();
    const Bytes bytes = encodeCob(cob);
    ASSERT_EQ(bytes.size(), 36u);
    EXPECT_EQ(bytes[34], 0);
    EXPECT_EQ(bytes[35], 0);
    EXPECT_EQ(decodeCob(bytes).name, "");
}

TEST(CobFile, AFileWithoutTheFinalZeroLoadsCompletely) {
    const CobData cob = fullObject();
    Bytes bytes = encodeCob(cob);
    ASSERT_EQ(bytes.back(), 0);
    bytes.pop_back();
    EXPECT_EQ(decodeCob(bytes), cob);
}

TEST(CobFile, PictureRowsAreStoredBottomUp) {
    CobData cob;
    cob.pictureWidth = 3;
    cob.pictureHeight = 2;
    cob.picturePixels = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(cobPixel(cob, 0, 0), 4);
    EXPECT_EQ(cobPixel(cob, 2, 0), 6);
    EXPECT_EQ(cobPixel(cob, 0, 1), 1);
    EXPECT_EQ(cobPixel(cob, 2, 1), 3);
    PaletteTable palette;
    for (std::size_t k = 1; k <= 6; ++k) palette.setColor(k, makeScreenColor(0, 0, k * 10));
    const RgbImage shown = renderCobPicture(cob, palette);
    EXPECT_EQ(shown.pixels, (std::vector<ScreenColor>{palette[4], palette[5], palette[6],
                                                      palette[1], palette[2], palette[3]}));

    SpriteImage sprite(20, 10);
    for (int x = 0; x < 20; ++x) {
        sprite.at(x, 0) = 7;  // top row
        sprite.at(x, 9) = 9;  // bottom row
    }
    CobData taken;
    setCobPicture(taken, sprite);
    EXPECT_EQ(taken.pictureWidth, 20);
    EXPECT_EQ(taken.pictureHeight, 10);
    EXPECT_EQ(taken.pictureWidthCopy, 20);
    ASSERT_EQ(taken.picturePixels.size(), 200u);
    EXPECT_EQ(taken.picturePixels[0], 9) << "the first stored row is the sprite's bottom row";
    EXPECT_EQ(taken.picturePixels[199], 7);
    EXPECT_EQ(cobPixel(taken, 5, 0), 7);
}

TEST(CobFile, TheWidthCopyIsWrittenBackAsItWasRead) {
    CobData cob = fullObject();
    cob.pictureWidthCopy = 40000;
    const CobData read = decodeCob(encodeCob(cob));
    EXPECT_EQ(read.pictureWidthCopy, 40000);
    EXPECT_EQ(read.pictureWidth, 3);
    EXPECT_EQ(encodeCob(read), encodeCob(cob));
}

TEST(CobFile, ItemsTwoIsKeptAndOnlyTheFirstObjectIsRead) {
    Bytes bytes = encodeCob(fullObject());
    bytes[0] = 2;
    bytes.insert(bytes.end(), {9, 9, 9, 9});  // a second object's start: never read
    const CobData read = decodeCob(bytes);
    EXPECT_EQ(read.items, 2);
    EXPECT_EQ(read.name, "Ball");
    EXPECT_EQ(encodeCob(read)[0], 2);
}

TEST(CobFile, SixteenBitFieldsKeepTheLowBitsOfTheFieldValues) {
    CobData cob;
    CobFields fields = fieldsOf(cob);
    fields.quantity = "70000";
    takeFieldValues(fields, cob);
    Bytes bytes = encodeCob(cob);
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 4464);
    EXPECT_EQ(decodeCob(bytes).quantity, 4464);

    fields.quantity = "-1";
    takeFieldValues(fields, cob);
    EXPECT_EQ(decodeCob(encodeCob(cob)).quantity, 65535);
}

TEST(CobFile, TextsAreStoredInTheAnsiCodePage) {
    CobData cob;
    cob.name = "Bälle €";
    const Bytes bytes = encodeCob(cob);
    const Bytes name = {7, 'B', 0xE4, 'l', 'l', 'e', ' ', 0x80, 0};
    EXPECT_EQ(Bytes(bytes.end() - 9, bytes.end()), name);
    EXPECT_EQ(decodeCob(bytes).name, "Bälle €");
}

TEST(CobFile, EveryTruncationFailsWithTheEndOfFileErrorExceptTheMissingFinalZero) {
    const Bytes bytes = encodeCob(fullObject());
    for (std::size_t length = 0; length + 1 < bytes.size(); ++length) {
        const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_EQ(errorOf([&] { decodeCob(cut); }), std::string_view(kReadPastEndOfFile))
            << "cut after " << length << " bytes";
    }
}

TEST(CobFile, CountsAndLengthsThatPromiseMoreThanTheFileHoldsFailCleanly) {
    Bytes header(24, 0);
    header[0] = 1;
    Bytes tooManyScripts = header;
    tooManyScripts[16] = 100;  // 100 scripts promised, none there
    EXPECT_EQ(errorOf([&] { decodeCob(tooManyScripts); }), std::string_view(kReadPastEndOfFile));

    Bytes longText = header;
    longText[16] = 1;
    longText.insert(longText.end(), {255, 0xFF, 0xFF, 'a', 'b'});  // 65535 bytes promised
    EXPECT_EQ(errorOf([&] { decodeCob(longText); }), std::string_view(kReadPastEndOfFile));

    Bytes hugePicture = header;
    hugePicture.insert(hugePicture.end(),
                       {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 1, 2, 3});
    EXPECT_EQ(errorOf([&] { decodeCob(hugePicture); }), std::string_view(kReadPastEndOfFile));

    Bytes negativePicture = header;
    negativePicture.insert(negativePicture.end(), {0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_NE(errorOf([&] { decodeCob(negativePicture); }).find("-1 x 2"), std::string::npos);
}

TEST(CobFile, CountsAboveOneHundredAreRefusedBeforeAnyTextIsRead) {
    Bytes bytes(24, 0);
    bytes[16] = 101;
    EXPECT_NE(errorOf([&] { decodeCob(bytes); }).find("101 scripts"), std::string::npos);
    bytes[16] = 0;
    bytes[18] = 0xFF;
    bytes[19] = 0xFF;
    EXPECT_NE(errorOf([&] { decodeCob(bytes); }).find("65535 imports"), std::string::npos);
}

TEST(CobFile, TheLaterGamesFilesAreNamedAndRefused) {
    struct Case {
        std::string head;
        std::string named;
    };
    const Case cases[] = {{"cob2", "\"cob2\" object file of Creatures 2"},
                          {"PRAY", "\"PRAY\" file of Creatures 3"}};
    for (const Case& c : cases) {
        // A later file's tag, then what could pass for this format's fields.
        Bytes bytes = encodeCob(fullObject());
        std::copy(c.head.begin(), c.head.end(), bytes.begin());
        EXPECT_NE(errorOf([&] { decodeCob(bytes); }).find(c.named), std::string::npos) << c.head;
    }
    Bytes ours = encodeCob(fullObject());
    std::copy_n("cob1", 4, ours.begin());
    EXPECT_NO_THROW(decodeCob(ours)) << "another head is no later game's tag";
}

TEST(CobFile, FilesAreReadAndWrittenWhole) {
    testing::TempDir dir;
    EXPECT_EQ(errorOf([&] { readCobFile(dir / "missing.cob"); }), std::string_view(kFileNotFound));
    const CobData cob = fullObject();
    writeCobFile(dir / "ball.cob", cob);
    EXPECT_EQ(readCobFile(dir / "ball.cob"), cob);
    EXPECT_EQ(readFileBytes(dir / "ball.cob"), encodeCob(cob));
}

TEST(CobFile, FileNamePartIsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(fileNamePart("C:\\Creatures\\ball.cob"), "ball.cob");
    EXPECT_EQ(fileNamePart("/home/a/b.COB"), "b.COB");
    EXPECT_EQ(fileNamePart("A:x.cob"), "x.cob");
    EXPECT_EQ(fileNamePart("plain.cob"), "plain.cob");
}

}  // namespace
}  // namespace vek
