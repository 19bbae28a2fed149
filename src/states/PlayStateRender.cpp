// One frame of play: stars, level, shots, player, status display, countdown, a card and the fade overlay.
#include "states/PlayState.h"

#include "Game.h"
#include "entities/Player.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"
#include "states/Card.h"
#include "states/Fade.h"
#include "states/Ghost.h"
#include "world/Map.h"

#include <string>

namespace
{
constexpr unsigned kDeathFrame = 2; // the third frame of the death animation completes the death

// Level pixels to screen pixels, truncated toward zero; far off the screen saturates like the camera.
int ToScreen(double position, int camera)
{
    return Utils::TruncateToInt(position - camera);
}
} // namespace

void PlayState::Render(Game* game, const float&)
{
    SDL_Surface* screen = game->mScreen->mSurface;
    if (mLevelReady)
    {
        // The stars never move during play: the sky behind the level stands still.
        Utils::DrawStars(mStars, screen);
        mMap->Render(mPlayer->GetX(), mPlayer->GetY(), screen);
        Image* sprites = mMap->mImageManager->GetImage("sprites");
        if (sprites != nullptr)
        {
            DrawShots(*sprites, screen);
            if (mGhost)
            {
                mGhost->Render(*sprites, screen, mMap->mCameraX, mMap->mCameraY); // under the player
            }
        }
        DrawPlayer(sprites, screen);
        mPlayer->ShowHUD(screen);
        DrawCountdown(game, screen);
        // The card after an exit; a pause that lasts into the next level shows once that level is up.
        Card* card = mCard ? mCard.get() : mPauseCard ? mPauseCard.get() : mStartCard.get();
        if (card != nullptr && mBlackScreen)
        {
            card->Render(screen, *game->mFont, *mBlackScreen);
        }
    }
    if (mBlackScreen)
    {
        Fade::DrawOverlay(*mBlackScreen, mAlpha, screen);
    }
}

void PlayState::DrawShots(Image& sprites, SDL_Surface* screen)
{
    for (const auto& bullet : mPlayer->mBullets)
    {
        const EntityType* type = bullet->GetEntityType();
        if (type == nullptr)
        {
            continue;
        }
        // Always the first frame.
        const int x = ToScreen(bullet->GetX(), mMap->mCameraX);
        const int y = ToScreen(bullet->GetY(), mMap->mCameraY);
        const int sourceX = static_cast<int>(type->mSourceX);
        const int sourceY = static_cast<int>(type->mSourceY);
        if (bullet->GetDirection())
        {
            sprites.Draw(screen, x, y, sourceX, sourceY, bullet->GetFrameWidth(), bullet->GetFrameHeight());
        }
        else
        {
            sprites.DrawFlipped(screen, x, y, sourceX, sourceY, bullet->GetFrameWidth(),
                                bullet->GetFrameHeight());
        }
    }
}

void PlayState::DrawPlayer(Image* sprites, SDL_Surface* screen)
{
    Player& player = *mPlayer;
    const EntityState state = player.GetState();
    // The player's type counter drives both its animations and the end of its death.
    const unsigned frame = player.GetAnimationFrame();

    // While immune the player blinks: shown only in updates where the hurt timer is a multiple of 4.
    const bool visible = player.mHurtTimer <= 0 || (player.mHurtTimer & 3) == 0;
    if (sprites != nullptr && visible)
    {
        player.DrawFrame(*sprites, screen, ToScreen(player.GetX(), mMap->mCameraX),
                         ToScreen(player.GetY(), mMap->mCameraY));
    }

    // The death completes when its third frame shows, drawn or blinked away; the next update sees it.
    if (frame == kDeathFrame && (state == Dying || state == DyingArmed))
    {
        player.SetState(state == Dying ? Dead : DeadArmed);
        player.mHurtTimer = 0;
    }
}

void PlayState::DrawCountdown(Game* game, SDL_Surface* screen)
{
    const double oxygen = mPlayer->mOxygen;
    std::string text = "Time left: ";
    // The options show at once, also while paused.
    if (game->mAssist.mAir == Assist::Air::Endless)
    {
        text += "endless";
    }
    else if (oxygen == 10.0)
    {
        text += Utils::ToString(oxygen);
    }
    else if (oxygen <= 0.01)
    {
        text += "00.00";
    }
    else
    {
        text += "0" + Utils::ToString(oxygen);
    }
    // Placed for a 16-character text, whatever its length; white with a black shadow one pixel right.
    Font& font = *game->mFont;
    const int x = screen->w / 2 - font.mCharWidth * 8;
    font.DrawString(text, x + 1, 4, SDL_MapRGB(screen->format, 0, 0, 0), screen);
    font.DrawString(text, x, 4, SDL_MapRGB(screen->format, 255, 255, 255), screen);
}
