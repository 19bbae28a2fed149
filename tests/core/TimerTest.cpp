// The main loop's clock driven by a fake time source: update cap, backlog drop, interpolation, pacing.
#include "Timer.h"

#include <gtest/gtest.h>

namespace
{
const double kStep = static_cast<double>(Timer::mTimeBetweenUpdates);

// A timer whose clock is a plain number the test moves; every 1 ms sleep advances it by 1 ms.
class FakeClockTimer : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        timer.mClock = [this] { return now; };
        timer.mSleep = [this]
        {
            ++sleeps;
            now += 1.0;
        };
    }

    // One pass of the main loop up to the drawing; returns the updates run.
    int Pass()
    {
        timer.BeginPass();
        const int updates = timer.RunUpdates([this] { ++ticks; });
        timer.ComputeInterpolation();
        return updates;
    }

    Timer timer;
    double now = 5000.0;
    int sleeps = 0;
    int ticks = 0;
};

TEST_F(FakeClockTimer, UpdateCapFollowsTheRefreshRate)
{
    const struct
    {
        double hertz;
        int cap;
    } cases[] = {{24, 2}, {25, 2}, {30, 1}, {60, 2}, {75, 3}, {120, 4}, {144, 5}, {10, 4}};
    for (const auto& c : cases)
    {
        timer.Init(c.hertz);
        EXPECT_EQ(timer.mMaxUpdatesPerFrame, c.cap) << c.hertz << " Hz";
        EXPECT_DOUBLE_EQ(timer.mFrameDuration, 1000.0 / c.hertz);
    }
}

// A pass on every display frame, the clock stepping a frame at a time: 30 updates a second whatever the
// display's rate, slower than the updates or faster.
TEST_F(FakeClockTimer, PlayRunsThirtyUpdatesASecondOnAnyDisplay)
{
    for (const double hertz : {24.0, 25.0, 30.0, 60.0, 144.0})
    {
        timer.Init(hertz);
        ticks = 0;
        const int frames = static_cast<int>(10 * hertz);
        for (int frame = 0; frame < frames; ++frame)
        {
            now += 1000.0 / hertz;
            Pass();
            timer.EndFrame();
        }
        EXPECT_NEAR(ticks, 300, 1) << hertz << " Hz, over 10 seconds";
    }
}

TEST_F(FakeClockTimer, StallRunsTheCapThenDropsTheBacklog)
{
    timer.Init(60);
    now += 200.0;
    EXPECT_EQ(Pass(), 2);
    EXPECT_EQ(ticks, 2);
    // Exactly one step is left pending, so the picture is drawn a full step ahead.
    EXPECT_DOUBLE_EQ(timer.mLastUpdateTime, now - kStep);
    EXPECT_FLOAT_EQ(timer.mInterpolation, 1.0f);

    // The dropped time is not caught up later.
    now += 10.0;
    EXPECT_EQ(Pass(), 1);
}

TEST_F(FakeClockTimer, LessThanAStepRunsNoUpdateAndDrawsTheFraction)
{
    timer.Init(60);
    now += 10.0;
    EXPECT_EQ(Pass(), 0);
    EXPECT_EQ(ticks, 0);
    EXPECT_NEAR(timer.mInterpolation, 10.0 / kStep, 1e-6);

    // Exactly one step elapsed is still not more than a step.
    now = timer.mLastUpdateTime + kStep;
    EXPECT_EQ(Pass(), 0);
    EXPECT_FLOAT_EQ(timer.mInterpolation, 1.0f);
}

// A restart (a resumed pause) makes the next update due one step after the pass that asked for it,
// whether it was asked between updates or from inside one.
TEST_F(FakeClockTimer, ARestartMakesTheNextUpdateDueOneStepAfterItsPass)
{
    for (const bool insideAnUpdate : {false, true})
    {
        SCOPED_TRACE(insideAnUpdate ? "inside an update" : "between updates");
        timer.Init(60);
        now += 5000.0;
        timer.BeginPass();
        if (!insideAnUpdate)
        {
            timer.RestartStep();
        }
        const int updates = timer.RunUpdates(
            [&]
            {
                ++ticks;
                if (insideAnUpdate)
                {
                    timer.RestartStep();
                }
            });
        EXPECT_EQ(updates, insideAnUpdate ? 1 : 0) << "the backlog before the restart is not made up";
        EXPECT_DOUBLE_EQ(timer.mLastUpdateTime, now);
        now += kStep + 0.5;
        EXPECT_EQ(Pass(), 1) << "one step later the next update is due, not two";
    }
}

TEST_F(FakeClockTimer, WaitSleepsUntilADisplayFrameHasPassed)
{
    timer.Init(60);
    Pass();
    timer.EndFrame();
    timer.WaitForNextFrame();
    EXPECT_EQ(sleeps, 17); // 16.67 ms rounded up to whole milliseconds
}

TEST_F(FakeClockTimer, WaitEndsEarlyWhenTheNextUpdateIsDue)
{
    timer.Init(30); // a frame lasts 33.3 ms, as long as an update step
    now += 30.0;
    Pass();
    timer.EndFrame();
    timer.WaitForNextFrame();
    EXPECT_EQ(sleeps, 4); // the update falls due 3.33 ms later
}

TEST_F(FakeClockTimer, FrameRateIsTakenOnEachNewSecondOfTheUpdateClock)
{
    now = 900.0;
    timer.Init(60);
    // Frames drawn while the update clock stays inside second 0: nothing to show yet.
    for (int frame = 0; frame < 3; ++frame)
    {
        now += 20.0;
        Pass();
        timer.mFrameCount += 1; // what drawing a frame does
        timer.EndFrame();
        EXPECT_EQ(timer.mFramesPerSecond, 0);
    }
    // The wall clock has passed 1000 ms, but the update clock has not yet.
    now = 1020.0;
    Pass();
    timer.mFrameCount += 1;
    timer.EndFrame();
    EXPECT_LT(timer.mLastUpdateTime, 1000.0);
    EXPECT_EQ(timer.mFramesPerSecond, 0);

    now += 20.0;
    Pass();
    timer.mFrameCount += 1;
    timer.EndFrame();
    ASSERT_GE(timer.mLastUpdateTime, 1000.0);
    EXPECT_EQ(timer.mFramesPerSecond, 5);
    EXPECT_EQ(timer.mCurrentSecond, 1);
    EXPECT_EQ(timer.mFrameCount, 0);
}
// Past 2^32 ms (49.7 days) of running, steps and waits go on as before.
TEST_F(FakeClockTimer, KeepsItsPaceBeyondThirtyTwoBitsOfMilliseconds)
{
    now = 4294967296.0 - 50.0;
    timer.Init(60);
    for (int pass = 0; pass < 12; ++pass)
    {
        Pass();
        timer.EndFrame();
        timer.WaitForNextFrame();
    }
    EXPECT_GT(now, 4294967296.0 + 100.0);
    EXPECT_EQ(ticks, 5); // twelve passes 17 ms apart, the last at 187 ms: five steps of 33.3 ms
    EXPECT_LE(sleeps, 12 * 17);
}
} // namespace
