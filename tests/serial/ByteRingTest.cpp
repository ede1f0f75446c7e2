#include <gtest/gtest.h>

#include <numeric>

#include "serial/ByteRing.h"

namespace canprog::serial {
namespace {

// One step on a ring: put `count` bytes numbered on from the last put, or take `count` bytes
// one by one, or take everything; what must follow.
struct Step {
    enum Kind { Put, Take, TakeAll } kind;
    std::size_t count;
    bool accepted;  // a put that fits, a take that finds a byte
    std::size_t usedAfter;
};

struct RingCase {
    const char* name;
    std::size_t capacity;
    std::vector<Step> steps;
};

const RingCase kCases[] = {
    {"fills to the last byte, refuses one more whole",
     8,
     {{Step::Put, 8, true, 8}, {Step::Put, 1, false, 8}, {Step::TakeAll, 0, true, 0}}},
    {"a put larger than the room leaves the ring as it was",
     8,
     {{Step::Put, 5, true, 5}, {Step::Put, 4, false, 5}, {Step::Take, 5, true, 0}}},
    {"wraps around the end in order",
     8,
     {{Step::Put, 6, true, 6},
      {Step::Take, 5, true, 1},
      {Step::Put, 7, true, 8},
      {Step::Take, 8, true, 0},
      {Step::Take, 1, false, 0}}},
    {"takes everything across the wrap",
     5,
     {{Step::Put, 4, true, 4},
      {Step::Take, 3, true, 1},
      {Step::Put, 4, true, 5},
      {Step::TakeAll, 0, true, 0},
      {Step::Put, 5, true, 5}}},
    {"a ring without room takes nothing and gives nothing",
     0,
     {{Step::Put, 1, false, 0}, {Step::Take, 1, false, 0}, {Step::TakeAll, 0, true, 0}}},
};

TEST(ByteRingTest, BytesLeaveInTheOrderTheyCameWhateverTheWrap) {
    for (const RingCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ByteRing ring;
        ring.allocate(c.capacity);
        std::uint8_t nextPut = 0;
        std::uint8_t nextTaken = 0;
        for (const Step& step : c.steps) {
            if (step.kind == Step::Put) {
                std::vector<std::uint8_t> data(step.count);
                std::iota(data.begin(), data.end(), nextPut);
                EXPECT_EQ(ring.put(data), step.accepted);
                if (step.accepted) nextPut = static_cast<std::uint8_t>(nextPut + step.count);
            } else if (step.kind == Step::Take) {
                for (std::size_t i = 0; i < step.count; ++i) {
                    std::uint8_t byte = 0;
                    ASSERT_EQ(ring.take(byte), step.accepted);
                    if (step.accepted) {
                        EXPECT_EQ(byte, nextTaken++);
                    }
                }
            } else {
                for (const std::uint8_t byte : ring.takeAll()) EXPECT_EQ(byte, nextTaken++);
            }
            EXPECT_EQ(ring.used(), step.usedAfter);
            EXPECT_EQ(ring.room(), c.capacity - step.usedAfter);
        }
    }
}

// The receive side fills the ring in place: the two free runs together are the whole room, and
// what is committed reads back in order.
TEST(ByteRingTest, TheFreeRunsCoverTheRoomAcrossTheWrap) {
    ByteRing ring;
    ring.allocate(6);
    ASSERT_TRUE(ring.put(std::vector<std::uint8_t>{1, 2, 3, 4}));
    std::uint8_t byte = 0;
    ASSERT_TRUE(ring.take(byte) && ring.take(byte) && ring.take(byte));  // 4 left, at the end
    std::size_t filled = 0;
    std::uint8_t value = 5;
    while (ring.room() > 0) {
        const auto run = ring.freeRun();
        ASSERT_FALSE(run.empty());
        for (auto& b : run) b = value++;
        ring.commit(run.size());
        filled += run.size();
    }
    EXPECT_EQ(filled, 5u);
    EXPECT_TRUE(ring.freeRun().empty());
    EXPECT_EQ(ring.takeAll(), (std::vector<std::uint8_t>{4, 5, 6, 7, 8, 9}));
}

}  // namespace
}  // namespace canprog::serial
