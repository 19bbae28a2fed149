// Movement against tiles and blocking entities, harmful tiles, the player's contacts and its pick-ups.
#include "states/PlayState.h"

#include "Game.h"
#include "entities/Player.h"
#include "world/Map.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
constexpr double kGravity = 0.8;  // added to the vertical speed every update
constexpr int kHurtImmunity = 25; // updates without further harm sounds or contact damage
constexpr int kFullHealth = 100;
constexpr double kFullOxygen = 10.0;

bool IsDyingOrDead(EntityState state)
{
    return state == Dying || state == DyingArmed || state == Dead || state == DeadArmed;
}

// Entity health after losing an amount, kept within int for absurd damage values.
int HealthMinus(int health, long long amount)
{
    return static_cast<int>(std::max<long long>(static_cast<long long>(health) - amount, INT_MIN));
}
} // namespace

bool PlayState::IsEntityCollision(Entity* a, Entity* b)
{
    if (a == b || !a->GetIsAlive() || !b->GetIsAlive())
    {
        return false;
    }
    // Positions are truncated to whole pixels; boxes that only share an edge do not touch.
    const double ax = std::trunc(a->GetX());
    const double ay = std::trunc(a->GetY());
    const double bx = std::trunc(b->GetX());
    const double by = std::trunc(b->GetY());
    return ax < bx + b->GetFrameWidth() && bx < ax + a->GetFrameWidth() && ay < by + b->GetFrameHeight() &&
           by < ay + a->GetFrameHeight();
}

Entity* PlayState::GetEntityCollision(Game*, Entity* e)
{
    if (!mMap)
    {
        return nullptr;
    }
    // Plain entities, then items, then enemies: only the first contact counts, so an item over an
    // enemy hides the enemy.
    for (const auto& entry : mMap->mEntities)
    {
        // A lift is only stood on; it is never met like a thing.
        if (!IsLift(entry.second.get()) && IsEntityCollision(e, entry.second.get()))
        {
            return entry.second.get();
        }
    }
    for (const auto& entry : mMap->mItems)
    {
        if (IsEntityCollision(e, entry.second.get()))
        {
            return entry.second.get();
        }
    }
    for (const auto& entry : mMap->mEnemies)
    {
        if (IsEntityCollision(e, entry.second.get()))
        {
            return entry.second.get();
        }
    }
    return nullptr;
}

void PlayState::UpdateEntity(Game* game, Entity* e)
{
    if (!mMap || e == nullptr)
    {
        return;
    }
    const bool isPlayer = e == mPlayer.get();
    const int tileSize = mMap->mTileSize;
    const int width = e->GetFrameWidth();
    const int height = e->GetFrameHeight();
    // The left pixel edge of a column (or top edge of a row); the same as shifting by mTileShift.
    const auto edge = [tileSize](int cell) { return static_cast<double>(cell) * tileSize; };

    if (!e->GetIsFlying())
    {
        e->SetDY(e->GetDY() + kGravity); // no upper limit on the falling speed
    }
    const bool blown = BlowVents(e);
    if (isPlayer)
    {
        if (blown && !mInVentWind)
        {
            Sound(game, "vent.wav");
        }
        mInVentWind = blown;
    }

    // Horizontal step.
    const double dx = e->GetDX();
    const double nx = e->GetX() + dx;
    TileCollision collision = mMap->GetTileCollision(e, nx, e->GetY());
    if (!collision.IsBlocked())
    {
        e->SetX(nx);
    }
    else
    {
        // Flush against the blocking cell; everything but the player turns away from it.
        if (dx > 0)
        {
            e->SetX(edge(collision.mTileX) - width);
            if (!isPlayer)
            {
                e->SetDirection(false);
            }
        }
        else if (dx < 0)
        {
            e->SetX(edge(collision.mTileX + 1));
            if (!isPlayer)
            {
                e->SetDirection(true);
            }
        }
        e->CheckHorizontalCollision();
    }
    if (collision.mIsHarmful)
    {
        ApplyTileHarm(game, e, collision);
    }
    if (isPlayer)
    {
        // Blocking entities stop the player like a wall one tile wide, aligned to the tile grid.
        Entity* other = GetEntityCollision(game, e);
        if (other != nullptr && other->GetIsBlockingMotion())
        {
            const int column = static_cast<int>(other->GetX() / tileSize);
            if (dx > 0)
            {
                e->SetX(edge(column) - width);
            }
            else if (dx < 0)
            {
                e->SetX(edge(column + 1));
            }
            e->CheckHorizontalCollision();
        }
        CheckPlayerCollision(game, false);
    }

    // Vertical step.
    const double dy = e->GetDY();
    const double y0 = e->GetY();
    collision = mMap->GetTileCollision(e, e->GetX(), y0 + dy);
    if (!collision.IsBlocked())
    {
        e->SetY(y0 + dy);
    }
    else
    {
        if (dy > 0)
        {
            e->SetY(edge(collision.mTileY) - height); // standing on the cell
        }
        else if (dy < 0)
        {
            e->SetY(edge(collision.mTileY + 1)); // head against the cell
        }
        e->CheckVerticalCollision();
    }
    LandOnLifts(e, y0);
    if (collision.mIsHarmful)
    {
        ApplyTileHarm(game, e, collision);
    }
    if (!isPlayer)
    {
        return;
    }
    Entity* other = GetEntityCollision(game, e);
    if (other == nullptr)
    {
        CheckPlayerCollision(game, false);
        return;
    }
    if (other->GetIsBlockingMotion())
    {
        const int row = static_cast<int>(other->GetY() / tileSize);
        if (dy > 0)
        {
            e->SetY(edge(row) - height);
        }
        else if (dy < 0)
        {
            e->SetY(edge(row + 1));
        }
        e->CheckVerticalCollision();
    }
    // Touching something that was below the player's previous position counts as landing on it.
    CheckPlayerCollision(game, other->GetY() > y0 && e->GetIsAlive());
}

void PlayState::ApplyTileHarm(Game* game, Entity* e, const TileCollision& collision)
{
    if (e == mPlayer.get() && mRules.mInvulnerable)
    {
        return;
    }
    const EntityState state = e->GetState();
    if (state != Dying && state != Dead)
    {
        e->SetHealth(HealthMinus(e->GetHealth(), collision.mDamage));
    }
    // The immunity limits only the sound and the blinking: the damage is taken on every touching probe.
    if (e == mPlayer.get() && mPlayer->mHurtTimer == 0 && !IsDyingOrDead(e->GetState()))
    {
        mPlayer->mHurtTimer = kHurtImmunity;
        Sound(game, "hurt.wav");
    }
}

void PlayState::CheckPlayerCollision(Game* game, bool fromAbove)
{
    if (!mPlayer || !mPlayer->GetIsAlive())
    {
        return;
    }
    Entity* other = GetEntityCollision(game, mPlayer.get());
    if (other == nullptr || !other->GetIsAlive())
    {
        return;
    }
    const std::string baseType = other->GetBaseType();
    if (baseType == EntityType::mBaseItem)
    {
        AquireItem(game, other);
        return;
    }
    if (baseType != EntityType::mBaseEnemy)
    {
        return;
    }
    Player& player = *mPlayer;
    if (fromAbove)
    {
        // Stomped: the enemy starts dying and the player bounces off its top.
        other->SetState(Dying);
        player.SetY(other->GetY() - player.GetFrameHeight());
        player.Jump(true);
        Sound(game, "jump.wav");
        Sound(game, "hurt.wav");
        return;
    }
    if (mRules.mInvulnerable)
    {
        return; // a stomp still kills, but a touch does no harm
    }
    if (player.mHurtTimer == 0)
    {
        // An enemy hurts by its current health.
        player.SetHealth(player.GetHealth() - other->GetHealth());
        player.mHurtTimer = kHurtImmunity;
        Sound(game, "hurt.wav");
    }
    if (player.GetHealth() <= 0 && player.GetIsAlive())
    {
        player.SetState(player.GetWeapon() ? DyingArmed : Dying);
        player.mHurtTimer = 0;
    }
}

void PlayState::AquireItem(Game* game, Entity* item)
{
    const EntityType* type = item->GetEntityType();
    if (type == nullptr || !mPlayer)
    {
        return;
    }
    // A refused pick-up is silent and the item stays for the next contact.
    Player& player = *mPlayer;
    const std::string& name = type->mName;
    if (name == "Health")
    {
        if (player.GetHealth() != kFullHealth)
        {
            player.SetHealth(player.GetHealth() + item->GetHealth());
            Sound(game, "pickup.wav");
            item->SetState(Dead);
        }
    }
    else if (name == "OxygenTank")
    {
        if (player.mOxygen != kFullOxygen)
        {
            player.mOxygen = item->GetHealth(); // refilled, not added to
            mMap->mOxygenTanksLeft = std::max(mMap->mOxygenTanksLeft - 1, 0);
            Sound(game, "pickup.wav");
            item->SetState(Dead);
        }
    }
    else if (name == "KeycardLock")
    {
        if (player.mHasKeycard)
        {
            mMap->Trigger(item, true); // opens the door with the lock's id; the lock stays
            player.mHasKeycard = false;
            Sound(game, "keycard.wav");
        }
    }
    else if (name == "Keycard")
    {
        player.mHasKeycard = true;
        Sound(game, "pickup.wav");
        item->SetState(Dead);
    }
    else if (name == "ShipDoor2")
    {
        FinishLevel();
    }
    else if (name == "Weapon")
    {
        player.SetWeapon(true);
        Sound(game, "pickup.wav");
        item->SetState(Dead);
    }
}

void PlayState::FinishLevel()
{
    // The door is touched by both contact checks of an update and again while the fade-out runs:
    // only the first touch counts.
    if (mNextLevel || mBackToMenu)
    {
        return;
    }
    const std::size_t next = static_cast<std::size_t>(mCurrentMap) + 1;
    if (next < mMaps.size() && !mMaps[next].empty())
    {
        mCurrentMap = static_cast<int>(next);
        mNextLevel = true;
    }
    else
    {
        mBackToMenu = true; // the last level: the run is over
    }
    mExitReached = true; // the card with the level's time follows once this update is over
}
