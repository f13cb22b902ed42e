#include <gtest/gtest.h>

#include "app/byte_io.h"
#include "app/vek_error.h"

namespace vek {
namespace {

TEST(ByteIo, WritesAndReadsLittleEndianFieldsBack) {
    ByteWriter out;
    out.u8(0x12);
    out.u16(0x3456);
    out.u32(0x789ABCDE);
    out.text("ab");
    const std::vector<std::uint8_t> expected = {0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 'a', 'b'};
    ASSERT_EQ(out.data(), expected);

    ByteReader in(out.data());
    EXPECT_EQ(in.u8(), 0x12);
    EXPECT_EQ(in.u16(), 0x3456);
    EXPECT_EQ(in.u32(), 0x789ABCDEu);
    EXPECT_EQ(in.text(2), "ab");
    EXPECT_TRUE(in.atEnd());
}

TEST(ByteIo, ReadingPastTheEndFailsWithTheEndOfFileErrorAndMovesNothing) {
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    ByteReader in(bytes);
    in.u8();
    try {
        in.u32();
        FAIL() << "read past the end";
    } catch (const VekError& error) {
        EXPECT_EQ(std::string(error.what()), std::string_view(kReadPastEndOfFile));
    }
    EXPECT_EQ(in.position(), 1u);
    EXPECT_THROW(in.bytes(3), VekError);
    EXPECT_THROW(in.seek(4), VekError);
    EXPECT_EQ(in.u16(), 0x0302);
}

}  // namespace
}  // namespace vek
