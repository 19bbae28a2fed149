// A lift: a deck plate that rides its shaft up and down, waiting at each end; the play screen moves it.
#pragma once

#include "entities/Entity.h"

class Lift : public Entity
{
  public:
    enum class Phase
    {
        Rising,
        WaitingTop,
        Sinking,
        WaitingBottom
    };

    // Updates a lift waits at each stop before it turns.
    static constexpr int mWaitUpdates = 30;

    Lift() = default;
    ~Lift() override = default;

    // Starts rising from where it is placed. Its type's jump speed is its speed in pixels per update.
    bool Init(double x, double y, const std::string& id, EntityType* type) override;
    // Counts the wait at a stop and turns when it is over; a moving lift is moved by the play screen.
    void Tick() override;

    Phase GetPhase() const { return mPhase; }
    bool IsMoving() const { return mPhase == Phase::Rising || mPhase == Phase::Sinking; }
    // Whole pixels per update, from 1 to 16.
    int GetSpeed() const { return mSpeed; }
    // Its y before its last move: a plate that rose past falling feet still catches them.
    double GetPreviousY() const { return mPreviousY; }
    // Remembers where the plate stands before this update's move.
    void BeginMove() { mPreviousY = mY; }
    // The plate can go no further this way: it waits, then turns.
    void Arrive();

  private:
    Phase mPhase = Phase::Rising;
    int mWait = 0;
    int mSpeed = 1;
    double mPreviousY = 0.0;
};
