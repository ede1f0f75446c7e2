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
    form.countdown().start(3);
    for (int i = 0; i < 10; ++i) pumpAfter(30ms);
    EXPECT_EQ(form.countdown().timeoutTicks(), 0);
    EXPECT_FALSE(form.countdown().tickerEnabled());
}

TEST_F(TimeoutTest, CancelLeavesMinusOneWithTheTickerOff) {
    form.countdown().start(30);
    pumpAfter(30ms);
    EXPECT_EQ(form.countdown().timeoutTicks(), 29);
    form.click(Ctl::Button1);
    EXPECT_EQ(form.countdown().timeoutTicks(), -1);
    EXPECT_FALSE(form.countdown().tickerEnabled());
    pumpAfter(300ms);
    EXPECT_EQ(form.countdown().timeoutTicks(), -1);
}

TEST_F(TimeoutTest, CancelWithNoOperationRunningOnlySetsMinusOne) {
    form.Button1Click();
    EXPECT_EQ(form.countdown().timeoutTicks(), -1);
    EXPECT_FALSE(form.countdown().tickerEnabled());
    form.countdown().start(25);
    EXPECT_EQ(form.countdown().timeoutTicks(), 25);
    EXPECT_TRUE(form.countdown().tickerEnabled());
}

TEST_F(TimeoutTest, TicksThatFallDueWhileSleepingMergeIntoOne) {
    form.countdown().start(30);
    pumpAfter(300ms);  // ten periods passed, one tick delivered
    EXPECT_EQ(form.countdown().timeoutTicks(), 29);
    EXPECT_FALSE(form.deliverDueTick());  // nothing more until the next period
    pumpAfter(300ms);
    EXPECT_EQ(form.countdown().timeoutTicks(), 28);
}

TEST_F(TimeoutTest, ContinuousPumpingTicksEveryThirtyMilliseconds) {
    form.countdown().start(30);
    int delivered = 0;
    for (int ms = 0; ms < 900; ++ms) {
        clock.advance(1ms);
        delivered += form.deliverDueTick() ? 1 : 0;
    }
    EXPECT_EQ(delivered, 30);
    EXPECT_EQ(form.countdown().timeoutTicks(), 0);
}

TEST_F(TimeoutTest, NoTickBeforeThePeriodAndNoneWhileDisabled) {
    pumpAfter(100ms);
    EXPECT_EQ(form.countdown().timeoutTicks(), 0);
    form.countdown().start(5);
    pumpAfter(29ms);
    EXPECT_EQ(form.countdown().timeoutTicks(), 5);
    pumpAfter(1ms);
    EXPECT_EQ(form.countdown().timeoutTicks(), 4);
}

TEST_F(TimeoutTest, ReEnablingARunningTickerKeepsItsPhase) {
    form.countdown().start(10);
    clock.advance(20ms);
    form.countdown().start(10);
    pumpAfter(10ms);
    EXPECT_EQ(form.countdown().timeoutTicks(), 9);
}

TEST_F(TimeoutTest, TheWaitAsksHowItStands) {
    Countdown& countdown = form.countdown();
    countdown.start(2);
    EXPECT_EQ(countdown.state(), WaitResult::Success);
    pumpAfter(30ms);
    pumpAfter(30ms);
    EXPECT_EQ(countdown.state(), WaitResult::TimedOut);
    countdown.start(2);
    form.click(Ctl::Button1);
    EXPECT_EQ(countdown.state(), WaitResult::Cancelled);
}

TEST_F(TimeoutTest, ACancelBetweenTwoWaitsEndsTheNextWaitAndOnlyThatOne) {
    ASSERT_TRUE(form.beginOperation());
    Countdown& countdown = form.countdown();
    countdown.startWait(30);
    form.click(Ctl::Button1);  // between two waits: the operation pumps, nobody waits
    countdown.startWait(30);   // the next wait ends at once, cancelled
    EXPECT_EQ(countdown.state(), WaitResult::Cancelled);
    EXPECT_FALSE(countdown.tickerEnabled());
    countdown.startWait(30);  // the Cancel was taken: a later wait runs
    EXPECT_EQ(countdown.state(), WaitResult::Success);
    form.endOperation();
}

TEST_F(TimeoutTest, ACancelIsSeenBeforeTheNextFrameIsWritten) {
    ASSERT_TRUE(form.beginOperation());
    Countdown& countdown = form.countdown();
    countdown.startWait(30);
    EXPECT_FALSE(countdown.cancelledBeforeWriting());
    form.click(Ctl::Button1);
    countdown.startWait(30);  // a wait loaded after the click still does not lose it
    EXPECT_TRUE(countdown.cancelledBeforeWriting());
    EXPECT_EQ(countdown.timeoutTicks(), Countdown::kCancelled);
    form.endOperation();
    // A new operation starts without the old Cancel.
    ASSERT_TRUE(form.beginOperation());
    countdown.startWait(30);
    EXPECT_FALSE(countdown.cancelledBeforeWriting());
    form.endOperation();
}

}  // namespace
}  // namespace canprog
