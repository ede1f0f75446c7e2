#include <gtest/gtest.h>

#include <algorithm>

#include "config/ParameterBlock.h"
#include "operations/SavedBlock.h"

namespace canprog {
namespace {

// The module holds its version text as 16 Windows-1250 bytes.
ParameterImage blockWithVersion(const std::string& text) {
    EXPECT_EQ(text.size(), 16U);
    ParameterImage block{};
    block.fill(0x00);
    std::copy_n(text.begin(), std::min<std::size_t>(text.size(), 16),
                block.begin() + kVersionTextAddress);
    return block;
}

TEST(SavedBlockTest, TheVersionTextReadsAsAPersonWouldReadIt) {
    EXPECT_EQ(programVersionText(blockWithVersion(std::string("v2.10") + std::string(11, '\0'))),
              "v2.10");
    EXPECT_EQ(programVersionText(blockWithVersion("DEMO 1.00       ")), "DEMO 1.00");
    ParameterImage erased{};
    erased.fill(0xFF);
    EXPECT_EQ(programVersionText(erased), "(erased)");
}

TEST(SavedBlockTest, EveryBlockSavesAndReadsBackTheSame) {
    ParameterImage erased{};
    erased.fill(0xFF);
    for (const ParameterImage& block :
         {erased, blockWithVersion(std::string("v2.10") + std::string(11, '\0')),
          blockWithVersion("\xA3\xF3"
                           "d"
                           "\x9F"
                           " 1.0        ")}) {
        for (const char language : {'0', '1', '3', '6'}) {
            const SavedBlock saved{block, 0x1234, "COM5", "2026-12-10T10:00:00Z"};
            std::string why;
            const auto again = parseSavedBlock(savedBlockJson(saved, language), why);
            ASSERT_TRUE(again) << why;
            EXPECT_EQ(again->block, block);
            EXPECT_EQ(again->deviceId, 0x1234);
            EXPECT_EQ(again->device, "COM5");
        }
    }
}

TEST(SavedBlockTest, AFileSavedBeforeVersionTextsWereReadableIsStillTaken) {
    ParameterImage erased{};
    erased.fill(0xFF);
    auto document = nlohmann::json::parse(savedBlockJson({erased, 0x1234, "COM1", "x"}, '1'));
    // Then the text carried all 16 bytes as characters: 0xFF is U+02D9 in Windows-1250.
    std::string dots;
    for (int i = 0; i < 16; ++i) dots += "\xCB\x99";
    document["program_version"] = dots;
    std::string why;
    EXPECT_TRUE(parseSavedBlock(document.dump(2), why)) << why;
    document["program_version"] = "DEMO 1.00";
    EXPECT_FALSE(parseSavedBlock(document.dump(2), why));
    EXPECT_EQ(
        why, "\"program_version\" reads \"DEMO 1.00\", but the \"eeprom\" bytes hold \"(erased)\"");
}

TEST(SavedBlockTest, UnknownKeysAndAMalformedDeviceIdAreRefused) {
    const auto good =
        nlohmann::json::parse(savedBlockJson({ParameterImage{}, 0x1234, "", ""}, '1'));
    std::string why;
    auto extra = good;
    extra["pin"] = "0000";
    EXPECT_FALSE(parseSavedBlock(extra.dump(), why));
    EXPECT_EQ(why, "an unknown key \"pin\"");
    auto badId = good;
    badId["device_id"] = "1234";
    EXPECT_FALSE(parseSavedBlock(badId.dump(), why));
    EXPECT_EQ(why, "\"device_id\" is not a device ID such as \"12:34\"");
}

}  // namespace
}  // namespace canprog
