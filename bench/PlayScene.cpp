// Setting up a game on a chosen level, aiming its camera, adding shots and drawing whole frames.
#include "PlayScene.h"

#include "Timer.h"
#include "entities/Bullet.h"
#include "graphics/Framework.h"

#include <stdexcept>

namespace bench
{
namespace
{
constexpr double kShotSpeed = 6.0; // as fired by the player
} // namespace

PlayScene::PlayScene(const ContentFolder& folder, const std::string& level)
{
    folder.SetLevelList({level});
    mHarness = std::make_unique<test::PlayHarness>();
    // Drawing a frame counts it on the loop's timer.
    if (!mHarness->mGame.mTimer)
    {
        mHarness->mGame.mTimer = std::make_unique<Timer>();
    }
    Restart();
}

void PlayScene::Restart()
{
    if (!mHarness->BeginGame())
    {
        throw std::runtime_error("play scene: the game did not begin");
    }
    mHarness->SkipFadeIn();
}

void PlayScene::AimCamera(int cameraX, int cameraY)
{
    // The drawing puts the camera half a screen left of and above the player.
    const SDL_Surface* screen = Screen();
    ThePlayer().SetX(cameraX + screen->w / 2);
    ThePlayer().SetY(cameraY + screen->h / 2);
}

void PlayScene::AddShot(double x, double y, bool right)
{
    EntityType* type = TheMap().mEntityTypeManager->GetEntityType("Bullet");
    if (type == nullptr)
    {
        throw std::runtime_error("play scene: the level has no shots");
    }
    auto bullet = std::make_unique<Bullet>();
    bullet->Init(x, y, "0", type);
    bullet->SetDX(right ? kShotSpeed : -kShotSpeed);
    ThePlayer().mBullets.push_back(std::move(bullet));
}

SDL_Surface* PlayScene::Window() const
{
    return mHarness->mGame.mFramework->mSurface;
}

void PlayScene::DrawFrame()
{
    // Without renderer and texture the framework's clear, upload and present do nothing; every other
    // step of the frame is the game's own.
    Framework& framework = *TheGame().mFramework;
    SDL_Renderer* renderer = framework.mRenderer;
    SDL_Texture* texture = framework.mTexture;
    framework.mRenderer = nullptr;
    framework.mTexture = nullptr;
    TheGame().Render(0.0f);
    framework.mRenderer = renderer;
    framework.mTexture = texture;
}
} // namespace bench
