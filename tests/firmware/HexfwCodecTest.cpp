#include <gtest/gtest.h>

#include "firmware/HexfwCodec.h"

namespace canprog {
namespace {

TEST(HexfwCodec, EncodesEveryLineFollowedByTheFiller) {
    const HexfwConversion encoded = encodeHexfw(":00000001FF\n;list\n");
    ASSERT_TRUE(encoded.ok);
    const HexfwConversion decoded = decodeHexfw(encoded.output);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.output, ":00000001FF\r\n;list\r\n");
    EXPECT_NE(encoded.output.find("\r\n.\r\n"), std::string::npos);
}

TEST(HexfwCodec, RefusesALineWhoseScrambledFormHoldsALineEnd) {
    // 0x9D shifted by 'm' (the key's second character) wraps to LF.
    const HexfwConversion encoded = encodeHexfw(":00000001FF\r\n;\x9D\r\n");
    EXPECT_FALSE(encoded.ok);
    EXPECT_EQ(encoded.problem.lineNumber, 2);
}

}  // namespace
}  // namespace canprog
