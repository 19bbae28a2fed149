// Drives the real play screen from an input script, in a scratch folder that starts play at a chosen level.
#include "PlayDriver.h"

#include "StateManager.h"
#include "audio/AudioManager.h"
#include "entities/Player.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "states/PlayState.h"
#include "world/Map.h"

#include <SDL.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace content
{
PlayDriver::PlayDriver(std::size_t firstLevel, bool render) : mRender(render)
{
    // A scratch folder whose data/ shares the real pictures and levels but lists the levels from firstLevel
    // on.
    static std::atomic<int> counter{0};
    mPreviousFolder = fs::current_path();
    const fs::path data = mPreviousFolder / "data";
    mFolder = fs::temp_directory_path() /
              ("kes-play-" + std::to_string(SDL_GetTicks()) + "-" + std::to_string(counter++) + "-" +
               std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(mFolder / "data" / "maps");
    for (const char* folder : {"gfx", "sfx", "music"})
        fs::create_directory_symlink(data / folder, mFolder / "data" / folder);
    std::vector<std::string> levels;
    std::ifstream list(data / "maps" / "maps.lst");
    for (std::string line; std::getline(list, line);)
        levels.push_back(line);
    if (firstLevel >= levels.size())
        throw std::runtime_error("no such level");
    for (const auto& entry : fs::directory_iterator(data / "maps"))
        if (entry.path().filename() != "maps.lst")
            fs::create_symlink(entry.path(), mFolder / "data" / "maps" / entry.path().filename());
    std::ofstream shortened(mFolder / "data" / "maps" / "maps.lst");
    for (std::size_t i = firstLevel; i < levels.size(); ++i)
        shortened << levels[i] << '\n';
    shortened.close();
    fs::current_path(mFolder);

    // Silent: sounds and music change nothing in play.
    mGame.mSound = false;
    mGame.mMusic = false;
    mGame.mSoundVolume = 0;
    mGame.mMusicVolume = 0;
    mRig.Start(false);
    mGame.mStateManager->AddState("Play", mPlay = new PlayState());
    mGame.mPlayState = mPlay;
    mRig.AddIdleScreens();
    mGame.mIsRunning = true;
    Restart();
}

void PlayDriver::Restart()
{
    mGame.mStateManager->ChangeState("Play");
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    mRig.Keys().Forget();
    mPlay->mAlpha = 255;
    if (!mPlay->Init(&mGame))
        throw std::runtime_error("play did not start");
}

PlayDriver::~PlayDriver()
{
    mGame.mStateManager.reset();
    mGame.mAudioManager.reset();
    mGame.mFont.reset();
    mGame.mScreen.reset();
    mGame.mFramework.reset();
    std::error_code ignored;
    fs::current_path(mPreviousFolder, ignored);
    fs::remove_all(mFolder, ignored);
}

void PlayDriver::Step(unsigned keys)
{
    mRig.Keys().Hold(keys);
    State* current = mGame.mStateManager->mCurrentState;
    current->HandleEvents(&mGame);
    current->Tick(&mGame);
    if (mGame.mStateManager->mCurrentState != mPlay)
        return;
    if (mRender)
        mPlay->Render(&mGame, 0.0f);
    else if (mPlay->mMap && mPlay->mPlayer)
        mPlay->mMap->CameraCheck(mPlay->mPlayer->GetX(), mPlay->mPlayer->GetY(), mGame.mScreen->mSurface);
}

bool PlayDriver::Finished() const
{
    return mPlay->mCurrentMap > mStartLevel || mPlay->mNextLevel || mPlay->mBackToMenu;
}

bool PlayDriver::PlayerAlive() const
{
    return mPlay->mPlayer && mPlay->mPlayer->GetIsAlive();
}

std::string PlayDriver::CurrentStateName() const
{
    return mRig.CurrentState();
}
} // namespace content
