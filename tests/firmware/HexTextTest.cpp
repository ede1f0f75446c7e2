#include <gtest/gtest.h>

#include "firmware/HexText.h"
#include "firmware/LineReader.h"

namespace canprog {
namespace {

TEST(HexPairToByte, TableOfCases) {
    struct Case {
        std::string_view text;
        int expected;
    };
    for (const Case& c : {Case{"00", 0x00}, Case{"FF", 0xFF}, Case{"A5", 0xA5}, Case{"37", 0x37},
                          Case{"164", 0x16}, Case{"ff", 0x00}, Case{"aF", 0x00}, Case{"F", 0x00},
                          Case{"", 0x00}, Case{" 1", 0x00}, Case{"G0", 0x00}}) {
        EXPECT_EQ(hexPairToByte(c.text), c.expected) << c.text;
    }
}

TEST(PairAt, NeverReadsBeyondTheLine) {
    EXPECT_EQ(pairAt(":10", 2), 0x10);
    EXPECT_EQ(pairAt(":1", 2), 0x00);  // half a pair reads as a non-digit
    EXPECT_EQ(pairAt(":10", 4), 0x00);
    EXPECT_EQ(pairAt(":10", 400), 0x00);
}

TEST(DecodeLine, EveryLthCharacterStaysAndAddingIsTheInverse) {
    const std::string key = "ab";  // L = 2: odd positions shift by 'a', even ones stay
    EXPECT_EQ(decodeLine("\x62\x10\x62", key, false), std::string("\x01\x10\x01"));
    const std::string line = ":10020000A5A5A5A5";
    for (int pair : {1, 9, 10, 99, 100, 1234}) {
        const std::string k = lineKey(pair);
        EXPECT_EQ(decodeLine(decodeLine(line, k, true), k, false), line) << pair;
    }
    EXPECT_EQ(decodeLine("", "key", true), "");
    EXPECT_EQ(decodeLine("abc", "", true), "abc");
}

TEST(DecodeLine, WrapsModulo256) {
    const std::string key = "\x20x";
    const std::string scrambled = decodeLine("\xF0", key, true);
    EXPECT_EQ(static_cast<unsigned char>(scrambled[0]), 0x10);
    EXPECT_EQ(decodeLine(scrambled, key, false), "\xF0");
}

TEST(LineKey, IsTheKeyTextAndThePairNumber) {
    EXPECT_EQ(lineKey(1), "rmquo482=t1");
    EXPECT_EQ(lineKey(100), "rmquo482=t100");
}

TEST(LineReader, SplitsAtLfCrLfAndLoneCr) {
    LineReader reader("a\r\nb\nc\rd\n\re");
    std::vector<std::string> lines;
    while (!reader.atEnd()) lines.push_back(reader.readLine());
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(reader.lineNumber(), 6);
    EXPECT_EQ(reader.readLine(), "");
}

TEST(LineReader, KeepsBytesAboveAscii) {
    LineReader reader("\xB7\xFF\x80\r\n");
    EXPECT_EQ(reader.readLine(), "\xB7\xFF\x80");
    EXPECT_TRUE(reader.atEnd());
}

}  // namespace
}  // namespace canprog
