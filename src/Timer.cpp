// The fixed-step main loop's clock: how many updates run per pass and how long a pass waits.
#include "Timer.h"

#include <SDL.h>

#include <cmath>

// SDL's 64-bit tick count: the 32-bit one wraps after 49.7 days, and the loop would then wait as long
// again for the next update. A double holds every tick count below 2^53 exactly, so the differences the
// loop takes are exact too.
Timer::Timer() : mClock([] { return static_cast<double>(SDL_GetTicks64()); }), mSleep([] { SDL_Delay(1); }) {}

void Timer::Init(double frameRate)
{
    mFrameRate = frameRate;
    mFrameDuration = 1000.0 / frameRate;
    // 60 Hz gives 2: room to catch up a late frame's update. A display slower than the updates needs more
    // than one in some passes (at 24 Hz, 1.25 a frame), and the cap must allow that many, or play runs slow.
    mMaxUpdatesPerFrame = static_cast<int>(std::ceil(frameRate * mTimeBetweenUpdates / 1000.0));
    if (frameRate < mGameHertz)
    {
        mMaxUpdatesPerFrame = static_cast<int>(std::floor(mFrameDuration / mTimeBetweenUpdates)) + 1;
    }

    const double now = mClock();
    mLastUpdateTime = now;
    mLastFrameTime = now;
    mCurrentSecond = static_cast<int>(now / 1000.0);
}

double Timer::Step() const
{
    // A slower game only waits longer between updates; every update stays the same.
    return static_cast<double>(mTimeBetweenUpdates) / mSpeed;
}

void Timer::Update()
{
    mCurrentTime = mClock();
}

void Timer::BeginPass()
{
    Update();
    mUpdatesThisFrame = 0;
}

int Timer::RunUpdates(const std::function<void()>& tick)
{
    const double step = Step();
    while (mCurrentTime - mLastUpdateTime > step)
    {
        if (mUpdatesThisFrame >= mMaxUpdatesPerFrame)
        {
            // Too far behind: forget the backlog and leave exactly one step pending.
            mLastUpdateTime = mCurrentTime - step;
            break;
        }
        mRestarted = false;
        tick();
        ++mUpdatesThisFrame;
        if (mRestarted)
        {
            break; // the update that restarted the step stands at this pass's time
        }
        mLastUpdateTime += step;
    }
    return mUpdatesThisFrame;
}

float Timer::ComputeInterpolation()
{
    float fraction = static_cast<float>((mCurrentTime - mLastUpdateTime) / Step());
    if (fraction > 1.0f)
    {
        fraction = 1.0f;
    }
    mInterpolation = fraction;
    return mInterpolation;
}

void Timer::EndFrame()
{
    mLastFrameTime = mCurrentTime;
    // Seconds are counted on the simulated update clock, not on the wall clock.
    mUpdateSecond = static_cast<int>(mLastUpdateTime / 1000.0);
    if (mUpdateSecond > mCurrentSecond)
    {
        mFramesPerSecond = mFrameCount;
        mCurrentSecond = mUpdateSecond;
        mFrameCount = 0;
    }
}

void Timer::RestartStep()
{
    mLastUpdateTime = mCurrentTime;
    mRestarted = true;
}

void Timer::WaitForNextFrame()
{
    const double step = Step();
    while (mCurrentTime - mLastFrameTime < mFrameDuration && mCurrentTime - mLastUpdateTime < step)
    {
        mSleep();
        Update();
    }
}
