// The ship's moving fittings in play: lifts that carry what stands on them, and air vents that blow upwards.
#include "states/PlayState.h"

#include "entities/Lift.h"
#include "entities/Player.h"
#include "world/Map.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kVentPush = 1.4;   // taken off the vertical speed each update, after gravity's 0.8
constexpr double kVentRise = 3.0;   // the fastest a vent lifts anything, pixels per update
constexpr double kVentReach = 80.0; // from the grate's top to the feet of what it lifts

bool Overlaps(const Entity& a, const Entity& b)
{
    const double ax = std::trunc(a.GetX());
    const double bx = std::trunc(b.GetX());
    return ax < bx + b.GetFrameWidth() && bx < ax + a.GetFrameWidth();
}
} // namespace

bool PlayState::IsLift(const Entity* e)
{
    return dynamic_cast<const Lift*>(e) != nullptr;
}

bool PlayState::CanRide(const Entity& e)
{
    // Things that fall: the player, blobs and the pick-ups that drop, dying ones too. Shots and hanging
    // things never fall.
    const EntityState state = e.GetState();
    return state != Dead && state != DeadArmed && e.GetJumpSpeed() != 0.0 && !IsLift(&e);
}

bool PlayState::IsRiding(const Entity& e, const Lift& lift)
{
    // Feet in the pixel row of the plate's top (a body standing on a deck sinks into it by a fraction of a
    // pixel between landings) and not on the way up: a jump leaves the plate at once.
    const double feet = e.GetY() + e.GetFrameHeight();
    return CanRide(e) && e.GetDY() >= 0.0 && feet >= lift.GetY() && feet < lift.GetY() + 1.0 &&
           Overlaps(e, lift);
}

void PlayState::StepLift(Game* game, Lift& lift)
{
    lift.BeginMove();
    if (!lift.IsMoving())
    {
        lift.Tick();
        return;
    }
    // Riders are found before the plate moves.
    mRiders.clear();
    bool playerRides = false;
    if (mPlayer && IsRiding(*mPlayer, lift))
    {
        mRiders.push_back(mPlayer.get());
        playerRides = true;
    }
    for (auto& entry : mMap->mEnemies)
    {
        if (IsRiding(*entry.second, lift))
        {
            mRiders.push_back(entry.second.get());
        }
    }
    for (auto& entry : mMap->mItems)
    {
        if (IsRiding(*entry.second, lift))
        {
            mRiders.push_back(entry.second.get());
        }
    }

    // Riders stand exactly on the plate while it moves them.
    for (Entity* rider : mRiders)
    {
        rider->Carry(lift.GetY() - rider->GetFrameHeight());
    }

    // A pixel at a time, so that it stops exactly where the shaft or a rider's head ends.
    const bool rising = lift.GetPhase() == Lift::Phase::Rising;
    const double step = rising ? -1.0 : 1.0;
    const double levelBottom = static_cast<double>(mMap->mHeight) * mMap->mTileSize;
    for (int i = 0; i < lift.GetSpeed(); ++i)
    {
        const double next = lift.GetY() + step;
        bool blocked = next < 0.0 || next + lift.GetFrameHeight() > levelBottom ||
                       mMap->GetTileCollision(&lift, lift.GetX(), next).IsBlocked();
        // Nothing is ever crushed: a rider's head meeting the roof is the top stop.
        for (std::size_t r = 0; rising && !blocked && r < mRiders.size(); ++r)
        {
            Entity* rider = mRiders[r];
            blocked = mMap->GetTileCollision(rider, rider->GetX(), rider->GetY() + step).IsBlocked();
        }
        if (blocked)
        {
            lift.Arrive();
            if (playerRides)
            {
                Sound(game, "lift.wav");
            }
            break;
        }
        lift.Carry(next);
        for (auto it = mRiders.begin(); it != mRiders.end();)
        {
            Entity* rider = *it;
            // A rider also standing on a deck beside the shaft stays on the deck.
            if (!rising && mMap->GetTileCollision(rider, rider->GetX(), rider->GetY() + step).IsBlocked())
            {
                it = mRiders.erase(it);
                continue;
            }
            rider->Carry(rider->GetY() + step);
            ++it;
        }
    }
}

void PlayState::LandOnLifts(Entity* e, double y0)
{
    if (!CanRide(*e) || e->GetDY() < 0.0)
    {
        return;
    }
    const double height = e->GetFrameHeight();
    for (auto& entry : mMap->mEntities)
    {
        const Lift* lift = dynamic_cast<const Lift*>(entry.second.get());
        if (lift == nullptr || !Overlaps(*e, *lift))
        {
            continue;
        }
        // Feet that were above the plate (or above where it was before it rose past them) and are now at
        // or below its top land on it.
        const double top = lift->GetY();
        if (y0 + height <= std::max(top, lift->GetPreviousY()) && e->GetY() + height >= top)
        {
            e->Carry(top - height);
            e->CheckVerticalCollision();
            return;
        }
    }
}

bool PlayState::BlowVents(Entity* e)
{
    if (!mMap->mHasVents || !e->GetIsAlive())
    {
        return false;
    }
    // The player and the pick-ups that drop are light enough; blobs are not.
    const bool light =
        e == mPlayer.get() || (e->GetBaseType() == EntityType::mBaseItem && e->GetJumpSpeed() != 0.0);
    if (!light)
    {
        return false;
    }
    // The column under the middle of the body, down from the feet to the first blocking tile.
    const int tileSize = mMap->mTileSize;
    const double feet = e->GetY() + e->GetFrameHeight();
    const double middle = e->GetX() + e->GetFrameWidth() / 2.0;
    if (!(middle >= 0.0 && middle < static_cast<double>(mMap->mWidth) * tileSize && feet >= 0.0 &&
          feet < static_cast<double>(mMap->mHeight) * tileSize))
    {
        return false; // beside, above or below the level (NaN too)
    }
    const int column = static_cast<int>(middle) / tileSize;
    const int firstRow = static_cast<int>(std::ceil(feet) - 1.0) / tileSize;
    const int lastRow = static_cast<int>((feet + kVentReach) / tileSize);
    for (int row = std::max(firstRow, 0); row <= lastRow && row < mMap->mHeight; ++row)
    {
        const Tile* tile = mMap->GetTile(column, row, 1);
        if (tile == nullptr || tile->mTileType == nullptr || !tile->mTileType->mIsBlockingMotion)
        {
            continue;
        }
        if (!tile->mTileType->IsBlowing() || static_cast<double>(row) * tileSize - feet > kVentReach)
        {
            return false;
        }
        const double dy = e->GetDY();
        if (dy > -kVentRise)
        {
            e->SetDY(std::max(dy - kVentPush, -kVentRise));
        }
        if (e->GetDY() < 0.0 && e->GetIsOnGround())
        {
            // Lifted off the floor: in the air, as after a jump.
            e->SetIsOnGround(false);
            if (e == mPlayer.get())
            {
                e->SetState(e->GetWeapon() ? JumpingArmed : Jumping);
            }
        }
        return true;
    }
    return false;
}
