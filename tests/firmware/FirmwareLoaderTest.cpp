#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>

#include "firmware/FirmwareLoader.h"
#include "support/TestData.h"

namespace canprog {
namespace {

using testing::dataFile;

struct Loaded {
    FirmwareImages images;
    FirmwareLoadResult result;
};

Loaded load(const std::string& name, bool decode) {
    Loaded out;
    out.result = loadFirmwareFile(dataFile(name), decode, out.images);
    return out;
}

Loaded loadText(std::string_view text) {
    Loaded out;
    out.result = loadFirmwareData(text, false, out.images);
    return out;
}

TEST(FirmwareLoader, PlainFileFillsBothImages) {
    const Loaded f = load("good_plain.hex", false);
    ASSERT_TRUE(f.result.loaded()) << f.result.problem.reason;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(f.images.flashImage[i], i);
    EXPECT_EQ(f.images.flashImage[0x200], 0xA5);
    EXPECT_EQ(f.images.flashImage[0x1FFF], 0x1F);
    EXPECT_EQ(f.images.flashImage[0x2000], 0xFF);
    EXPECT_EQ(f.images.flashTop, 0x1FFF);
    EXPECT_EQ(f.images.eepromImage[0], 0x01);
    EXPECT_EQ(f.images.eepromImage[3], 0x04);
    EXPECT_EQ(f.images.eepromImage[4], 0xFF);
    EXPECT_EQ(std::string(f.images.eepromImage.begin() + 0xF0, f.images.eepromImage.end()),
              "DEMO 1.00       ");
    EXPECT_EQ(f.images.eepromTop, 0xFF);
}

TEST(FirmwareLoader, EncodedFileLoadsLikeItsPlainTwin) {
    const Loaded plain = load("good_plain.hex", false);
    const Loaded encoded = load("good.hexfw", true);
    ASSERT_TRUE(encoded.result.loaded()) << encoded.result.problem.reason;
    EXPECT_EQ(encoded.images.flashImage, plain.images.flashImage);
    EXPECT_EQ(encoded.images.eepromImage, plain.images.eepromImage);
    EXPECT_EQ(encoded.images.flashTop, plain.images.flashTop);
    EXPECT_EQ(encoded.images.eepromTop, plain.images.eepromTop);
    EXPECT_EQ(encoded.images.decodeLineCounter, 8);  // stops at the end record
}

TEST(FirmwareLoader, CrLfAndLfFilesGiveIdenticalImages) {
    const Loaded crlf = load("good_plain.hex", false);
    const Loaded lf = load("good_plain_lf.hex", false);
    ASSERT_TRUE(lf.result.loaded());
    EXPECT_EQ(crlf.images.flashImage, lf.images.flashImage);
    EXPECT_EQ(crlf.images.eepromImage, lf.images.eepromImage);
    const Loaded cr = loadText(":0100000055AA\r:00000001FF\r");
    ASSERT_TRUE(cr.result.loaded());
    EXPECT_EQ(cr.images.flashImage[0], 0x55);
}

TEST(FirmwareLoader, BadFilesFailWithTheirLineAndReason) {
    struct Case {
        const char* file;
        int line;
        const char* reason;
    };
    for (const Case& c : {
             Case{"bad_empty_line.hex", 3, "empty line"},
             Case{"bad_lower_end.hex", 8, "unsupported record type 01"},
             Case{"bad_end_blank.hex", 8, "unsupported record type 01"},
             Case{"bad_checksum.hex", 2, "checksum error"},
             Case{"bad_no_end.hex", 7, "file ends without the end record :00000001FF"},
             Case{"bad_comment_before_end.hex", 3, "line does not start with ':'"},
             Case{"type04_bad.hex", 1, "checksum error"},
         }) {
        const Loaded f = load(c.file, false);
        EXPECT_FALSE(f.result.loaded()) << c.file;
        EXPECT_EQ(f.result.status, FirmwareLoadResult::Status::BadFile) << c.file;
        EXPECT_EQ(f.result.problem.lineNumber, c.line) << c.file;
        EXPECT_EQ(f.result.problem.reason, c.reason) << c.file;
    }
}

TEST(FirmwareLoader, WrongKeyOrPlainFileReadAsEncodedFails) {
    EXPECT_FALSE(load("good_plain.hex", true).result.loaded());
    EXPECT_FALSE(load("good.hexfw", false).result.loaded());
}

TEST(FirmwareLoader, MissingFileCannotOpen) {
    const Loaded f = load("no-such-file.hexfw", true);
    EXPECT_EQ(f.result.status, FirmwareLoadResult::Status::CannotOpen);
    EXPECT_EQ(f.result.problem.reason, "No such file or directory");
}

TEST(FirmwareLoader, TypeFourWithChecksumFaSetsUpperAddressZero) {
    const Loaded f = load("type04_ok.hex", false);
    ASSERT_TRUE(f.result.loaded());
    EXPECT_EQ(f.images.flashImage[0x10], 0x55);
    EXPECT_EQ(f.images.flashTop, 0x10);
}

TEST(FirmwareLoader, DataOutsideBothWindowsIsIgnored) {
    const Loaded f = load("outside_windows.hex", false);
    ASSERT_TRUE(f.result.loaded()) << f.result.problem.reason;
    EXPECT_EQ(f.images.flashTop, 0x101);
    EXPECT_EQ(f.images.eepromTop, -1);
    EXPECT_EQ(std::count(f.images.flashImage.begin(), f.images.flashImage.end(), 0xFF),
              kFlashSize - 2);
    EXPECT_TRUE(std::all_of(f.images.eepromImage.begin(), f.images.eepromImage.end(),
                            [](auto b) { return b == 0xFF; }));
}

TEST(FirmwareLoader, EachLoadStartsAfreshAtAddressZero) {
    FirmwareImages images;
    ASSERT_TRUE(loadFirmwareData(":0200000400F00A\r\n:00000001FF\r\n", false, images).loaded());
    EXPECT_EQ(images.currentAddress, 0xF00000);
    ASSERT_TRUE(loadFirmwareData(":010010007778\r\n:00000001FF", false, images).loaded());
    EXPECT_EQ(images.flashImage[0x10], 0x77);
    EXPECT_EQ(images.flashTop, 0x10);
    EXPECT_EQ(images.eepromTop, -1);
}

TEST(FirmwareLoader, RecordCrossingTheFlashEndStoresLowBytesButLeavesTheTop) {
    // 4 bytes from 0x7FFE: two inside FLASH, two beyond it.
    const Loaded f = loadText(
        ":047FFE0011223344"
        "D5"
        "\n:00000001FF\n");
    ASSERT_TRUE(f.result.loaded()) << f.result.problem.reason;
    EXPECT_EQ(f.images.flashImage[0x7FFE], 0x11);
    EXPECT_EQ(f.images.flashImage[0x7FFF], 0x22);
    EXPECT_EQ(f.images.flashTop, -1);
}

TEST(FirmwareLoader, ShortLineReadsMissingDigitsAsZeroAndFailsItsChecksum) {
    const Loaded f = loadText(":10000000AABB\n:00000001FF\n");
    EXPECT_FALSE(f.result.loaded());
    EXPECT_EQ(f.result.problem.reason, "checksum error");
    EXPECT_EQ(f.images.flashImage[0], 0xAA);  // stored before the checksum was known
    EXPECT_EQ(f.images.flashImage[2], 0x00);
}

TEST(FirmwareLoader, ZeroLengthDataRecordStoresNothingAndRaisesNoTop) {
    const Loaded f = loadText(":00100000F0\n:00000001FF\n");
    ASSERT_TRUE(f.result.loaded()) << f.result.problem.reason;
    EXPECT_EQ(f.images.flashTop, -1);
    EXPECT_EQ(f.images.eepromTop, -1);
}

TEST(FirmwareLoader, ExtendedAddressNearTheSignedLimitDoesNotOverflow) {
    const Loaded f = loadText(":020000047FFF7C\n:04FFFF0001020304F4\n:00000001FF\n");
    EXPECT_TRUE(f.result.loaded()) << f.result.problem.reason;
    EXPECT_EQ(f.images.flashTop, -1);
}

TEST(FirmwareLoader, ARecordAtTheVeryTopReachesPastItNotRoundToZero) {
    // Upper address 0xFFFF, offset 0xFFF8: sixteen bytes at 0xFFFFFFF8 to 0x100000007.
    const Loaded f =
        loadText(":02000004FFFFFC\n:10FFF8001112131415161718191A1B1C1D1E1F2071\n:00000001FF\n");
    ASSERT_TRUE(f.result.loaded()) << f.result.problem.reason;
    EXPECT_EQ(f.images.flashTop, -1);
    EXPECT_TRUE(std::all_of(f.images.flashImage.begin(), f.images.flashImage.end(),
                            [](std::uint8_t b) { return b == 0xFF; }));
}

TEST(FirmwareLoader, LinesAfterTheEndRecordAreNeverRead) {
    const Loaded f = loadText(":00000001FF\n\n;comment\ngarbage\n");
    EXPECT_TRUE(f.result.loaded());
}

TEST(FirmwareLoader, PerLineKeyAcrossPairsNineTenAndNinetyNineHundred) {
    const Loaded plain = load("many.hex", false);
    const Loaded encoded = load("many.hexfw", true);
    ASSERT_TRUE(encoded.result.loaded()) << encoded.result.problem.lineNumber;
    EXPECT_EQ(encoded.images.flashImage, plain.images.flashImage);
    EXPECT_EQ(encoded.images.decodeLineCounter, 121);
}

TEST(FirmwareLoader, PairsOfOneTenSwapWithoutEffectButNotAcrossTens) {
    const Loaded plain = load("many.hex", false);
    const Loaded swapped = load("many_swapped_in_ten.hexfw", true);
    ASSERT_TRUE(swapped.result.loaded());
    EXPECT_EQ(swapped.images.flashImage, plain.images.flashImage);
    const Loaded across = load("many_swapped_across_tens.hexfw", true);
    EXPECT_FALSE(across.result.loaded());
    EXPECT_EQ(across.result.problem.lineNumber, 2 * 10 - 1);  // first line of pair 10
}

}  // namespace
}  // namespace canprog
