#include <gtest/gtest.h>

#include "app/vek_error.h"
#include "gamelink/link_frame.h"

namespace vek {
namespace {

TEST(LinkFrameTest, AFrameIsHeaderTopicItemAndDataAndReadsBackInPieces) {
    const LinkFrame frame{FrameKind::Poke, "VEK.EXE", "Macro", std::string("inst,endm\0", 10)};
    const std::string bytes = encodeFrame(frame);
    ASSERT_EQ(bytes.size(), kFrameHeaderSize + 7 + 5 + 10);
    EXPECT_EQ(bytes.substr(0, 3), "VKP");
    EXPECT_EQ(bytes.substr(3, 8), std::string("\x07\x00\x05\x00\x0A\x00\x00\x00", 8));

    // Byte by byte, as a slow stream delivers it, then two frames at once.
    FrameReader reader(1024);
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        reader.append(bytes.substr(i, 1));
        EXPECT_FALSE(reader.next().has_value());
    }
    reader.append(bytes.substr(bytes.size() - 1));
    EXPECT_EQ(reader.next(), frame);
    EXPECT_FALSE(reader.holdsPartialFrame());
    const LinkFrame empty{FrameKind::Ack, {}, {}, {}};
    reader.append(encodeFrame(empty) + bytes);
    EXPECT_EQ(reader.next(), empty);
    EXPECT_EQ(reader.next(), frame);
}

TEST(LinkFrameTest, StrangeOrOversizedFramesAreRefusedAsSoonAsTheyShow) {
    FrameReader stranger(1024);
    stranger.append("HTTP/1.1 200 OK");
    EXPECT_THROW(stranger.next(), VekError);

    FrameReader early(1024);
    early.append("X");
    EXPECT_THROW(early.next(), VekError) << "one wrong byte is enough";

    FrameReader unknownKind(1024);
    unknownKind.append(std::string("VKZ\0\0\0\0\0\0\0\0", 11));
    EXPECT_THROW(unknownKind.next(), VekError);

    FrameReader small(16);
    small.append(
        encodeFrame({FrameKind::Data, "", "", std::string(17, 'x')}).substr(0, kFrameHeaderSize));
    try {
        small.next();
        FAIL();
    } catch (const VekError& error) {
        EXPECT_STREQ(error.what(), "a frame of 17 bytes, more than the 16 accepted");
    }
    EXPECT_THROW(encodeFrame({FrameKind::Connect, std::string(256, 't'), "", ""}), VekError);
}

}  // namespace
}  // namespace vek
