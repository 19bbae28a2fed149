// The player: oxygen supply, hurt immunity, jump pose, death and the status display.
#include "entities/Player.h"

#include <algorithm>

Player::Player()
{
    mHealth = 0; // Init gives the full 100
}

Player::~Player()
{
    mBullets.clear();
    mHUD.reset();
}

bool Player::Init(double x, double y, const std::string& id, EntityType* type, SDL_RendererInfo info)
{
    if (!Entity::Init(x, y, id, type))
    {
        return false;
    }
    mHUD = std::make_unique<Image>();
    mHUD->Load("data/gfx/hud.png", info, true, Image::mKeyRed, Image::mKeyGreen, Image::mKeyBlue);
    mHealth = 100;
    mBaseType = EntityType::mBasePlayer;
    mType = type->mName;
    mState = Standing;
    mStateAnimations[Standing] = 1;
    mStateAnimations[Walking] = 4;
    mStateAnimations[StandingArmed] = 1;
    mStateAnimations[WalkingArmed] = 4;
    mStateAnimations[Jumping] = 1;
    mStateAnimations[JumpingArmed] = 1;
    mStateAnimations[Dying] = 3;
    mStateAnimations[DyingArmed] = 3;
    mStateAnimations[Dead] = 1;
    mStateAnimations[DeadArmed] = 1;
    return true;
}

void Player::Tick()
{
    double oxygen = mOxygen - mOxygenUse;
    if (oxygen < 0.0)
    {
        mOxygen = 0.0;
        StartDying();
    }
    else
    {
        mOxygen = oxygen;
    }
    if (mHurtTimer > 0)
    {
        --mHurtTimer;
    }
    if (mHealth <= 0)
    {
        StartDying();
    }
}

void Player::StartDying()
{
    if (mState == Dying || mState == DyingArmed || mState == Dead || mState == DeadArmed)
    {
        return;
    }
    // Written directly: a player who runs out of air keeps drifting while it dies.
    mState = mWeapon ? DyingArmed : Dying;
    if (mEntityType != nullptr)
    {
        mEntityType->mFrameCounter = 0; // the death animation starts at its first frame
    }
}

void Player::Jump(bool force)
{
    if (mIsOnGround || force)
    {
        mIsOnGround = false;
        mDY = mJumpSpeed;
        SetState(mWeapon ? JumpingArmed : Jumping);
    }
}

void Player::SetY(double y)
{
    if (mJumpSpeed == 0.0)
    {
        return;
    }
    if (IsRowBelow(y))
    {
        mIsOnGround = false;
        SetState(mWeapon ? JumpingArmed : Jumping);
    }
    mY = y;
}

void Player::SetHealth(int health)
{
    mHealth = std::clamp(health, 0, 100);
}

void Player::DrawFrame(Image& sheet, SDL_Surface* target, int x, int y)
{
    if (mEntityType == nullptr)
    {
        return;
    }
    const int sourceX = static_cast<int>(GetAnimationFrame()) * mFrameWidth + GetSheetOffset(mState) +
                        static_cast<int>(mEntityType->mSourceX);
    const int sourceY = static_cast<int>(mEntityType->mSourceY);
    if (mDirection)
    {
        sheet.Draw(target, x, y, sourceX, sourceY, mFrameWidth, mFrameHeight);
    }
    else
    {
        sheet.DrawFlipped(target, x, y, sourceX, sourceY, mFrameWidth, mFrameHeight);
    }
}

void Player::ShowHUD(SDL_Surface* target)
{
    if (target == nullptr)
    {
        return;
    }
    if (mHUD)
    {
        mHUD->Draw(target, 4, 4, 0, 0, 72, 24);
    }
    // Each bar is 24 pixels when full: a bright upper half over a darker lower half.
    int health = mHealth * 24 / 100;
    if (health > 0)
    {
        SDL_Rect upper{14, 6, health, 2};
        SDL_Rect lower{14, 8, health, 2};
        SDL_FillRect(target, &upper, SDL_MapRGBA(target->format, 255, 0, 0, 255));
        SDL_FillRect(target, &lower, SDL_MapRGBA(target->format, 196, 0, 0, 255));
    }
    int oxygen = static_cast<int>(mOxygen * 10.0 * 24.0 / 100.0);
    if (oxygen > 0)
    {
        SDL_Rect upper{49, 6, oxygen, 2};
        SDL_Rect lower{49, 8, oxygen, 2};
        SDL_FillRect(target, &upper, SDL_MapRGBA(target->format, 0, 0, 255, 255));
        SDL_FillRect(target, &lower, SDL_MapRGBA(target->format, 0, 0, 196, 255));
    }
}

int Player::GetSheetOffset(EntityState state)
{
    switch (state)
    {
    case StandingArmed:
    case WalkingArmed:
        return 64;
    case Jumping:
        return 128;
    case JumpingArmed:
        return 144;
    case Dying:
        return 160;
    case DyingArmed:
        return 208;
    case Dead:
        return 192;
    case DeadArmed:
        return 240;
    case Standing:
    case Walking:
    default:
        return 0;
    }
}
