#include <gtest/gtest.h>

#include "sim/BootloaderEngine.h"
#include "sim/ToolSide.h"

namespace canprog::sim {
namespace {

using namespace std::chrono_literals;
using testing::frame;
using testing::unscramble;
using testing::wakePair;

// Feeds bytes one after the other, 1 ms apart, and gathers the replies.
class EngineTest : public ::testing::Test {
  protected:
    std::vector<std::uint8_t> feed(BootloaderEngine& e, const std::vector<std::uint8_t>& bytes) {
        std::vector<std::uint8_t> replies;
        for (const auto b : bytes) {
            now += 1ms;
            const EngineReply r = e.receive(b, now);
            replies.insert(replies.end(), r.bytes.begin(), r.bytes.end());
        }
        return replies;
    }
    std::vector<std::uint8_t> link(BootloaderEngine& e) {
        const auto answer = feed(e, wakePair());
        feed(e, {KEEP_KEY ^ initialLinkKey});
        return answer;
    }
    std::vector<std::uint8_t> block(std::uint8_t fill) {
        return std::vector<std::uint8_t>(16, fill);
    }

    Clock::time_point now{};
    BootloaderEngine engine;
};

TEST_F(EngineTest, WakeUpWithKeepKeyAnswersAndLinks) {
    EXPECT_TRUE(feed(engine, {0x55, 0x0F}).empty());
    EXPECT_EQ(feed(engine, {PROBE ^ initialLinkKey}),
              std::vector<std::uint8_t>{ANSWER ^ initialLinkKey});
    EXPECT_FALSE(engine.linked());
    feed(engine, {KEEP_KEY ^ initialLinkKey});
    EXPECT_TRUE(engine.linked());
    EXPECT_EQ(engine.key(), initialLinkKey);
    const auto status = feed(engine, frame(WRITE_FLASH, 0x0200, block(0xA5), initialLinkKey));
    EXPECT_EQ(unscramble(status, initialLinkKey), std::vector<std::uint8_t>{0x00});
    EXPECT_EQ(engine.memory().flash[0x200], 0xA5);
    EXPECT_EQ(engine.memory().flash[0x20F], 0xA5);
    EXPECT_EQ(engine.memory().flash[0x210], 0xFF);
}

TEST_F(EngineTest, NewKeyScramblesEveryLaterFrameAndReply) {
    feed(engine, wakePair());
    const std::uint8_t newKey = 0x3C;
    feed(engine, {NEW_KEY ^ initialLinkKey, static_cast<std::uint8_t>(newKey ^ initialLinkKey)});
    EXPECT_EQ(engine.key(), newKey);
    const auto status = feed(engine, frame(WRITE_EEPROM, 0x0010, block(0x42), newKey));
    EXPECT_EQ(status, std::vector<std::uint8_t>{newKey});  // status 0 scrambled is the key
    EXPECT_EQ(engine.memory().eeprom[0x10], 0x42);
    EXPECT_EQ(engine.frames().back().key, newKey);
}

TEST_F(EngineTest, ReadEepromRepliesLeadDataAndChecksum) {
    link(engine);
    const auto reply = unscramble(
        feed(engine, frame(READ_EEPROM, 0x00F0, block(0xFF), initialLinkKey)), initialLinkKey);
    ASSERT_EQ(reply.size(), 18u);
    EXPECT_EQ(reply[0], 0x00);
    EXPECT_EQ(std::string(reply.begin() + 1, reply.begin() + 17), "DEMO 1.00       ");
    unsigned sum = 0;
    for (const auto b : reply) sum += b;
    EXPECT_EQ(sum & 0xFF, 0u);
    EXPECT_TRUE(engine.frames().back().checksumOk);
}

TEST_F(EngineTest, DeviceIdAndRestart) {
    link(engine);
    EXPECT_EQ(
        unscramble(feed(engine, frame(READ_DEVICE_ID, 0, {}, initialLinkKey)), initialLinkKey),
        (std::vector<std::uint8_t>{0x00, 0x34, 0x12}));
    EXPECT_TRUE(feed(engine, frame(RESTART, 0, {}, initialLinkKey)).empty());
    EXPECT_EQ(engine.restarts(), 1);
    EXPECT_FALSE(engine.linked());
    // The module runs its program; a fresh wake-up enters the bootloader again.
    EXPECT_EQ(link(engine), std::vector<std::uint8_t>{ANSWER ^ initialLinkKey});
    EXPECT_TRUE(engine.linked());
}

TEST_F(EngineTest, BadFrameChecksumGetsANonZeroStatusAndWritesNothing) {
    link(engine);
    auto bytes = frame(WRITE_FLASH, 0x0200, block(0x11), initialLinkKey);
    bytes.back() ^= 0x01;
    const auto status = unscramble(feed(engine, bytes), initialLinkKey);
    ASSERT_EQ(status.size(), 1u);
    EXPECT_NE(status[0], 0);
    EXPECT_EQ(engine.memory().flash[0x200], 0xFF);
    EXPECT_FALSE(engine.frames().back().checksumOk);
}

TEST_F(EngineTest, SilenceStandsForTheResetPulse) {
    link(engine);
    feed(engine, {0x00 ^ initialLinkKey, 0x00});  // a frame that stops part-way
    now += 600ms;
    EXPECT_EQ(feed(engine, wakePair()), std::vector<std::uint8_t>{ANSWER ^ initialLinkKey});
}

TEST_F(EngineTest, JournalLineDescribesTheFrame) {
    link(engine);
    feed(engine, frame(WRITE_EEPROM, 0x0020, block(0x01), initialLinkKey));
    const std::string json = engine.frames().back().toJson();
    EXPECT_NE(json.find("\"command\":\"WRITE_EEPROM\""), std::string::npos);
    EXPECT_NE(json.find("\"address\":32"), std::string::npos);
    EXPECT_NE(json.find("\"reply\":\"00\""), std::string::npos);
}

struct FaultCase : EngineTest {
    template <typename Change>
    BootloaderEngine with(Change change) {
        FaultOptions faults;
        change(faults);
        return BootloaderEngine(ModuleMemory::demoModule(), faults);
    }
};

TEST_F(FaultCase, NeverAnswer) {
    auto e = with([](FaultOptions& f) { f.neverAnswer = true; });
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(feed(e, wakePair()).empty());
}

TEST_F(FaultCase, AnswerOnlyTheThirdProbe) {
    auto e = with([](FaultOptions& f) { f.answerAfterProbes = 3; });
    EXPECT_TRUE(feed(e, wakePair()).empty());
    EXPECT_TRUE(feed(e, wakePair()).empty());
    EXPECT_EQ(feed(e, wakePair()).size(), 1u);
}

TEST_F(FaultCase, StrayByteBeforeTheAnswer) {
    auto e = with([](FaultOptions& f) { f.strayByte = 0x55; });
    EXPECT_EQ(feed(e, wakePair()), (std::vector<std::uint8_t>{0x55, ANSWER ^ initialLinkKey}));
}

TEST_F(FaultCase, RejectAFlashAndAnEepromBlock) {
    auto e = with([](FaultOptions& f) {
        f.rejectFlashBlock = std::pair{32, 3};
        f.rejectEepromBlock = std::pair{7, 9};
    });
    link(e);
    EXPECT_EQ(
        unscramble(feed(e, frame(WRITE_FLASH, 0x0200, block(1), initialLinkKey)), initialLinkKey),
        std::vector<std::uint8_t>{3});
    EXPECT_EQ(e.memory().flash[0x200], 0xFF);
    EXPECT_EQ(
        unscramble(feed(e, frame(WRITE_EEPROM, 0x0060, block(1), initialLinkKey)), initialLinkKey),
        std::vector<std::uint8_t>{0});
    EXPECT_EQ(
        unscramble(feed(e, frame(WRITE_EEPROM, 0x0070, block(1), initialLinkKey)), initialLinkKey),
        std::vector<std::uint8_t>{9});
}

TEST_F(FaultCase, SilentAfterTwoFrames) {
    auto e = with([](FaultOptions& f) { f.silentAfterFrames = 2; });
    link(e);
    EXPECT_EQ(feed(e, frame(WRITE_FLASH, 0x0200, block(1), initialLinkKey)).size(), 1u);
    EXPECT_EQ(feed(e, frame(WRITE_FLASH, 0x0210, block(1), initialLinkKey)).size(), 1u);
    EXPECT_TRUE(feed(e, frame(WRITE_FLASH, 0x0220, block(1), initialLinkKey)).empty());
    EXPECT_EQ(e.memory().flash[0x220], 0xFF);
}

TEST_F(FaultCase, ReplyCutShort) {
    auto e = with([](FaultOptions& f) { f.cutReplyAfterBytes = 5; });
    link(e);
    EXPECT_EQ(feed(e, frame(READ_EEPROM, 0x0000, block(0xFF), initialLinkKey)).size(), 5u);
}

TEST_F(FaultCase, HangUpAfterThreeFrames) {
    auto e = with([](FaultOptions& f) { f.hangUpAfterFrames = 3; });
    link(e);
    feed(e, frame(WRITE_FLASH, 0x0200, block(1), initialLinkKey));
    feed(e, frame(WRITE_FLASH, 0x0210, block(1), initialLinkKey));
    EXPECT_FALSE(e.hangUpRequested());
    EXPECT_TRUE(feed(e, frame(WRITE_FLASH, 0x0220, block(1), initialLinkKey)).empty());
    EXPECT_TRUE(e.hangUpRequested());
}

TEST_F(FaultCase, DeviceIdToReport) {
    auto e = with([](FaultOptions& f) { f.deviceId = 0xBEEF; });
    link(e);
    EXPECT_EQ(unscramble(feed(e, frame(READ_DEVICE_ID, 0, {}, initialLinkKey)), initialLinkKey),
              (std::vector<std::uint8_t>{0x00, 0xEF, 0xBE}));
}

}  // namespace
}  // namespace canprog::sim
