#include <gtest/gtest.h>

#include "support/FormFixture.h"

namespace canprog {
namespace {

using namespace std::chrono_literals;
using testing::FormFixture;

class TimeoutTest : public ::testing::Test, public FormFixture {
  protected:
    // One pump: the front end delivers at most one due tick.
    void pumpAfter(std::chrono::milliseconds elapsed) {
        clock.advance(elapsed);
        form.deliverDueTick();
    }
};

TEST_F(TimeoutTest, CountdownStopsAtExactlyZero) {
    form.startCountdown(3);
    for (int i = 0; i < 10; ++i) pumpAfter(30ms);
    EXPECT_EQ(form.timeoutTicks, 0);
    EXPECT_FALSE(form.tickerEnabled());
}

TEST_F(TimeoutTest, CancelLeavesMinusOneWithTheTickerOff) {
    form.startCountdown(30);
    pumpAfter(30ms);
    EXPECT_EQ(form.timeoutTicks, 29);
    form.click(Ctl::Button1);
    EXPECT_EQ(form.timeoutTicks, -1);
    EXPECT_FALSE(form.tickerEnabled());
    pumpAfter(300ms);
    EXPECT_EQ(form.timeoutTicks, -1);
}

TEST_F(TimeoutTest, CancelWithNoOperationRunningOnlySetsMinusOne) {
    form.Button1Click();
    EXPECT_EQ(form.timeoutTicks, -1);
    EXPECT_FALSE(form.tickerEnabled());
    form.startCountdown(25);
    EXPECT_EQ(form.timeoutTicks, 25);
    EXPECT_TRUE(form.tickerEnabled());
}

TEST_F(TimeoutTest, TicksThatFallDueWhileSleepingMergeIntoOne) {
    form.startCountdown(30);
    pumpAfter(300ms);  // ten periods passed, one tick delivered
    EXPECT_EQ(form.timeoutTicks, 29);
    EXPECT_FALSE(form.deliverDueTick());  // nothing more until the next period
    pumpAfter(300ms);
    EXPECT_EQ(form.timeoutTicks, 28);
}

TEST_F(TimeoutTest, ContinuousPumpingTicksEveryThirtyMilliseconds) {
    form.startCountdown(30);
    int delivered = 0;
    for (int ms = 0; ms < 900; ++ms) {
        clock.advance(1ms);
        delivered += form.deliverDueTick() ? 1 : 0;
    }
    EXPECT_EQ(delivered, 30);
    EXPECT_EQ(form.timeoutTicks, 0);
}

TEST_F(TimeoutTest, NoTickBeforeThePeriodAndNoneWhileDisabled) {
    pumpAfter(100ms);
    EXPECT_EQ(form.timeoutTicks, 0);
    form.startCountdown(5);
    pumpAfter(29ms);
    EXPECT_EQ(form.timeoutTicks, 5);
    pumpAfter(1ms);
    EXPECT_EQ(form.timeoutTicks, 4);
}

TEST_F(TimeoutTest, ReEnablingARunningTickerKeepsItsPhase) {
    form.startCountdown(10);
    clock.advance(20ms);
    form.startCountdown(10);
    pumpAfter(10ms);
    EXPECT_EQ(form.timeoutTicks, 9);
}

}  // namespace
}  // namespace canprog
