// The ghost: a second, silent play world stepped beside the player's, and its dithered picture.
#include "states/Ghost.h"

#include "entities/Player.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"
#include "states/PlayState.h"

Ghost::Ghost() : mWorld(std::make_unique<PlayState>()) {}

Ghost::~Ghost() = default;

std::unique_ptr<Ghost> Ghost::Start(Game* game, const std::string& levelFile, std::vector<unsigned> input,
                                    const Assist& rules)
{
    std::unique_ptr<Ghost> ghost(new Ghost());
    if (!ghost->mWorld->Simulate(game, levelFile, std::move(input), rules))
    {
        return nullptr;
    }
    return ghost;
}

void Ghost::Tick(Game* game)
{
    mWorld->StepSimulation(game);
}

int Ghost::RunToEnd(Game* game)
{
    while (mWorld->StepSimulation(game))
    {
    }
    return FinishUpdate();
}

int Ghost::FinishUpdate() const
{
    // A world of one level ends its run at that level's exit.
    return mWorld->mBackToMenu ? mWorld->mLevelTime : 0;
}

const Player& Ghost::ThePlayer() const
{
    return *mWorld->mPlayer;
}

void Ghost::Render(Image& sprites, SDL_Surface* screen, int cameraX, int cameraY)
{
    Player& player = *mWorld->mPlayer;
    if (player.GetEntityType() == nullptr || !player.GetIsAlive())
    {
        return;
    }
    const int width = player.GetFrameWidth();
    const int height = player.GetFrameHeight();
    if (!mFrame || mFrame->mSurface->w != width || mFrame->mSurface->h != height)
    {
        mFrame = std::make_unique<Image>();
        mFrame->Load(screen, width, height, false, Image::mKeyRed, Image::mKeyGreen, Image::mKeyBlue);
    }
    // Drawn whole onto a cleared frame first: pixels left at 0 are see-through, as in every picture.
    SDL_Surface* frame = mFrame->mSurface;
    SDL_FillRect(frame, nullptr, 0);
    player.DrawFrame(sprites, frame, 0, 0);

    const int left = Utils::TruncateToInt(player.GetX() - cameraX);
    const int top = Utils::TruncateToInt(player.GetY() - cameraY);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const int screenX = left + x;
            const int screenY = top + y;
            const unsigned pixel = Utils::GetPixel(frame, x, y);
            if (pixel != 0 && ((screenX + screenY) & 1) == 0)
            {
                Utils::PutPixel(screen, screenX, screenY, pixel);
            }
        }
    }
}
