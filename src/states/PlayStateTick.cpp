// One fixed update of play: the fade cycle and the ways out of play, then the world in its fixed order.
#include "states/PlayState.h"

#include "Game.h"
#include "StateManager.h"
#include "audio/AudioManager.h"
#include "entities/Bullet.h"
#include "entities/Lift.h"
#include "entities/Player.h"
#include "graphics/Image.h"
#include "states/Card.h"
#include "states/Ghost.h"
#include "states/StoryState.h"
#include "world/Map.h"

#include <cmath>
#include <iterator>

namespace
{
constexpr double kShotOffset = 2.0; // a shot starts this far ahead of the player's x
constexpr double kShotSpeed = 6.0;

bool IsDead(const Entity& e)
{
    const EntityState state = e.GetState();
    return state == Dead || state == DeadArmed;
}

// The enemy that takes a dead one's place, or null for none.
const char* SuccessorOf(const std::string& typeName)
{
    if (typeName == "Blob1")
    {
        return "Blob2";
    }
    if (typeName == "Blob2")
    {
        return "Blob3";
    }
    return nullptr;
}
} // namespace

void PlayState::Tick(Game* game)
{
    if (!StepFade(game))
    {
        return;
    }
    // The world stands still behind a card and while paused; a closed window still ends play.
    if ((mCard || IsPaused() || mStartCard) && mQuitRequested)
    {
        mFadeState = Fade::FadingOut;
    }
    if (mCard)
    {
        if (mFadeState != Fade::FadingOut && mCard->Tick())
        {
            mFadeState = Fade::FadingOut;
        }
        return;
    }
    if (IsPaused())
    {
        return;
    }
    if (mStartCard)
    {
        // The race starts with a key, or by itself when watched.
        if (mStartCard->Tick())
        {
            mStartCard.reset();
        }
        return;
    }
    // A ghost chosen anew (on the assist screen, from the pause) joins at the level clock.
    if (mLevelReady && game->mAssist.mGhost != mGhostChoice)
    {
        StartGhost(game);
    }
    if (!mReplay.empty())
    {
        // An input that has run out before the exit has failed: play ends at once instead of waiting for
        // the air to run out.
        if (mReplayUpdate == mReplay.size())
        {
            mBackToMenu = true;
        }
        StepReplay(game); // where a player's key events would have arrived, just before the world moves
    }
    UpdateWorld(game);
}

bool PlayState::StepFade(Game* game)
{
    if (mFadeState == Fade::FadingIn)
    {
        Fade::StepIn(mAlpha); // play goes on at opacity 0, still in the fade-in state
        return true;
    }
    if (mFadeState != Fade::FadingOut)
    {
        mFadeState = Fade::FadingIn; // the update after a completed fade-out starts the fade-in
        return true;
    }
    if (!Fade::StepOut(mAlpha))
    {
        return true;
    }
    mFadeState = Fade::Idle;
    if (mEndingCard && !mQuitRequested && game->mStoryState != nullptr)
    {
        // The ending page, then back here to the run's table, which fades in over the last level.
        mCard = std::move(mEndingCard);
        game->mStateManager->ChangeState("Story");
        game->mStoryState->BeginEnding();
        return false;
    }
    mEndingCard.reset();
    mCard.reset();
    // A pause lasts into the next level (the window was left during the card), but not out of play.
    if (mQuitRequested || !mNextLevel)
    {
        SetPaused(game, false);
    }
    // The rest of the update still runs after a switch; it is no longer seen.
    if (mQuitRequested)
    {
        game->mStateManager->ChangeState("Credits");
    }
    else if (mNextLevel)
    {
        // Cleared either way, so a level that failed to load is not tried again after every fade.
        mNextLevel = false;
        if (!StartNextLevel(game))
        {
            SetPaused(game, false);
            mBackToMenu = true;
            return false;
        }
    }
    else if (!mOnlyLevel.empty())
    {
        // A level played alone ends the program, unless it was being tried from the editor.
        game->mStateManager->ChangeState(mReturnState.empty() ? "Credits" : mReturnState);
    }
    else
    {
        game->mStateManager->ChangeState("MainMenu");
        game->mAudioManager->PlayMusic("menu.ogg", true);
    }
    return true;
}

void PlayState::UpdateWorld(Game* game)
{
    if (!mLevelReady)
    {
        // No playable level or player (set-up failed): only the way back to the menu remains.
        if (!mQuitRequested)
        {
            mBackToMenu = true;
        }
        mFadeState = Fade::FadingOut;
        ClearInput();
        return;
    }

    mPlayer->SetDX(0.0);
    // Nothing moves while a fade-out out of play runs. Escape sets no flag: the world runs on until the
    // switch.
    if (IsDead(*mPlayer) || IsEnding())
    {
        mFadeState = Fade::FadingOut;
        ClearInput();
        return;
    }

    ++mLevelTime;
    if (!mSilent)
    {
        // The options take effect at once; a ghost's world keeps the rules its recording was made by.
        mRules = game->mAssist;
        mLevelAssisted = mLevelAssisted || mRules.IsOn();
        KeepStrongestRules();
        mRecording.push_back(RecordedKeys());
    }
    mPlayer->mOxygenUse = mRules.OxygenUse();
    if (mPlayer->GetIsAlive())
    {
        Steer(game);
    }
    ++mFireTimer;
    if (mPlayer->GetIsAlive() && mDoFire)
    {
        Fire(game);
    }

    UpdateEntity(game, mPlayer.get()); // also the player's contacts and pick-ups
    mPlayer->Tick();
    // With endless air a fall out of the level would never end: it ends the run as the air would have.
    if (mRules.mAir == Assist::Air::Endless && mPlayer->GetY() >= mMap->mHeight * mMap->mTileSize)
    {
        mPlayer->StartDying();
    }
    mMap->Tick();

    UpdateShots(game);
    UpdatePlainEntities(game);
    ShootEnemies(game);
    UpdateEnemies(game);
    UpdateItems(game);
    if (mGhost)
    {
        mGhost->Tick(game); // in step with the player, in a world of its own
    }

    // The clock counts this update too: the time is the number of updates up to the exit, inclusive.
    if (mExitReached)
    {
        ShowExitCard(game);
    }
}

void PlayState::Steer(Game* game)
{
    Player& player = *mPlayer;
    const bool armed = player.GetWeapon();
    if (player.GetIsOnGround())
    {
        player.SetState(armed ? StandingArmed : Standing);
    }
    // The walking pose is taken in the air too; a falling player takes the jump pose again when it moves.
    if (mMoveLeft)
    {
        player.SetDX(-player.GetMaxMotionSpeed());
        player.SetDirection(false);
        player.SetState(armed ? WalkingArmed : Walking);
    }
    // Right is applied last, so it wins when both keys are held.
    if (mMoveRight)
    {
        player.SetDX(player.GetMaxMotionSpeed());
        player.SetDirection(true);
        player.SetState(armed ? WalkingArmed : Walking);
    }
    // In the air the request stays pending until the player lands.
    if (mDoJump && player.GetIsOnGround())
    {
        player.Jump(false);
        Sound(game, "jump.wav");
        mDoJump = false;
    }
}

void PlayState::Fire(Game* game)
{
    mDoFire = false;
    EntityType* type = mMap->mEntityTypeManager->GetEntityType("Bullet");
    if (type == nullptr)
    {
        return; // a level without shots
    }
    const bool right = mPlayer->GetDirection();
    auto bullet = std::make_unique<Bullet>();
    bullet->Init(mPlayer->GetX() + (right ? kShotOffset : -kShotOffset), mPlayer->GetY(), "0", type);
    // The shot keeps its own default facing; only its motion follows the player's.
    bullet->SetDX(right ? kShotSpeed : -kShotSpeed);
    mPlayer->mBullets.push_back(std::move(bullet));
    mFireTimer = 0;
    Sound(game, "laser.wav");
}

void PlayState::UpdateShots(Game* game)
{
    // Shots leaving on the left end at a wall or the level's left edge, which blocks like a wall.
    const double screenWidth = game->mScreen->mSurface->w;
    auto& bullets = mPlayer->mBullets;
    for (auto it = bullets.begin(); it != bullets.end();)
    {
        Bullet* bullet = it->get();
        if (bullet->GetIsAlive() && bullet->GetX() - mMap->mCameraX < screenWidth)
        {
            UpdateEntity(game, bullet);
            bullet->Tick();
            ++it;
        }
        else
        {
            it = bullets.erase(it);
        }
    }
}

void PlayState::UpdatePlainEntities(Game* game)
{
    auto& entities = mMap->mEntities;
    for (auto it = entities.begin(); it != entities.end();)
    {
        Entity* entity = it->second.get();
        if (IsDead(*entity))
        {
            it = entities.erase(it);
            continue;
        }
        if (Lift* lift = dynamic_cast<Lift*>(entity))
        {
            StepLift(game, *lift); // riders move with it; they have their own turn for the rest
            ++it;
            continue;
        }
        UpdateEntity(game, entity);
        entity->Tick();
        ++it;
    }
}

void PlayState::ShootEnemies(Game* game)
{
    auto& bullets = mPlayer->mBullets;
    auto& enemies = mMap->mEnemies;
    for (auto shot = bullets.begin(); shot != bullets.end();)
    {
        // The shot's side of the contact test is the same against every enemy, so it is read once;
        // a shot that is no longer alive touches nothing but still sweeps out the dead enemies.
        Bullet& bullet = **shot;
        const bool shotAlive = bullet.GetIsAlive();
        const double shotX = std::trunc(bullet.GetX());
        const double shotY = std::trunc(bullet.GetY());
        const int shotWidth = bullet.GetFrameWidth();
        const int shotHeight = bullet.GetFrameHeight();
        bool hit = false;
        for (auto it = enemies.begin(); it != enemies.end();)
        {
            Enemy* enemy = it->second.get();
            if (IsDead(*enemy))
            {
                // Removed here it leaves no successor: shots in flight decide that.
                it = enemies.erase(it);
                continue;
            }
            const double enemyX = std::trunc(enemy->GetX());
            const double enemyY = std::trunc(enemy->GetY());
            const bool touches = shotAlive && shotX < enemyX + enemy->GetFrameWidth() &&
                                 enemyX < shotX + shotWidth && shotY < enemyY + enemy->GetFrameHeight() &&
                                 enemyY < shotY + shotHeight && enemy->GetIsAlive();
            if (touches)
            {
                enemy->SetHealth(enemy->GetHealth() - (*shot)->GetHealth());
                if (enemy->GetHealth() <= 0)
                {
                    enemy->SetState(Dying);
                }
                Sound(game, "hurt.wav");
                hit = true;
                break;
            }
            ++it;
        }
        shot = hit ? bullets.erase(shot) : std::next(shot);
    }
}

void PlayState::UpdateEnemies(Game* game)
{
    auto& enemies = mMap->mEnemies;
    for (auto it = enemies.begin(); it != enemies.end();)
    {
        Enemy* enemy = it->second.get();
        if (!IsDead(*enemy))
        {
            UpdateEntity(game, enemy);
            enemy->Tick();
            ++it;
            continue;
        }
        // Successors sort after their predecessor by name, so this pass reaches and moves them too.
        if (const char* successor = SuccessorOf(it->first))
        {
            EntityType* type = mMap->mEntityTypeManager->GetEntityType(successor);
            if (type != nullptr)
            {
                mMap->AddEntity(enemy->GetID(), type, enemy->GetDirection(), enemy->GetX(), enemy->GetY());
            }
        }
        it = enemies.erase(it);
    }
}

void PlayState::UpdateItems(Game* game)
{
    auto& items = mMap->mItems;
    for (auto it = items.begin(); it != items.end();)
    {
        Item* item = it->second.get();
        if (IsDead(*item))
        {
            it = items.erase(it); // used up
            continue;
        }
        UpdateEntity(game, item);
        item->Tick();
        ++it;
    }
}
