// The fixed-step clock of the main loop: update cap, backlog drop, interpolation, frame pacing and frame
// rate.
#pragma once

#include <functional>

class Timer
{
  public:
    Timer();
    ~Timer() = default;

    // The game logic runs at this many updates per second.
    static constexpr float mGameHertz = 30.0f;
    // Length of one update step in milliseconds (the float nearest 1000 / 30).
    static constexpr float mTimeBetweenUpdates = 33.333332f;

    // frameRate: the display's refresh rate in Hz; sets the frame duration and the update cap.
    void Init(double frameRate);
    // The time between updates in milliseconds: one update step at full speed, longer when slowed.
    double Step() const;
    // Reads the clock into mCurrentTime.
    void Update();

    // The steps of one pass of the main loop, in the order Game::Run calls them.
    // Starts a pass: reads the clock and resets the update count.
    void BeginPass();
    // Runs the fixed updates that are due, at most mMaxUpdatesPerFrame; an older backlog is dropped.
    // Returns the number of updates run.
    int RunUpdates(const std::function<void()>& tick);
    // Stores and returns the elapsed fraction of the pending step, 0 to 1.
    float ComputeInterpolation();
    // After drawing: remembers the frame time and takes the frame-rate count on each new whole second.
    void EndFrame();
    // Starts the fixed step again at this pass's time, so the time that went by before (a pause, a stalled
    // window) is never made up in a burst of updates: the next one is due a whole step after this pass's
    // clock, also when asked from inside an update (which then is the last of this pass).
    void RestartStep();
    // Sleeps in 1 ms steps until a display frame has passed or the next update is due.
    void WaitForNextFrame();

    int mCurrentSecond = 0;
    int mUpdatesThisFrame = 0;
    int mUpdateSecond = 0;
    int mFramesPerSecond = 0;
    int mFrameCount = 0;
    int mMaxUpdatesPerFrame = 0;
    float mInterpolation = 0.0f;
    double mLastUpdateTime = 0.0; // milliseconds of simulated time; advances in exact steps
    double mLastFrameTime = 0.0;  // milliseconds
    double mCurrentTime = 0.0;    // milliseconds
    double mFrameRate = 0.0;      // Hz
    double mFrameDuration = 0.0;  // milliseconds
    double mSpeed = 1.0;          // share of the full update rate, above 0; 0.5 runs 15 updates a second

    // The time source (milliseconds) and the 1 ms sleep; SDL's by default, replaceable so the
    // loop can be driven by a fake clock.
    std::function<double()> mClock;
    std::function<void()> mSleep;

  private:
    bool mRestarted = false; // RestartStep was called during the update being run
};
