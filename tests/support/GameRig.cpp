// Building a Game's services for tests and tools, and taking its main loop's steps one at a time.
#include "GameRig.h"

#include "IdleState.h"
#include "StateManager.h"
#include "audio/AudioManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"

#include <SDL_mixer.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace test
{
GameRig::~GameRig()
{
    // Events left behind would reach the next game of the same process.
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0)
    {
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
}

void GameRig::Start(bool loadAudio)
{
    mGame.mFullscreen = false;
    mGame.mFramework = std::make_unique<Framework>();
    if (!mGame.mFramework->Init(false, false))
    {
        throw std::runtime_error("game rig: no window");
    }
    mGame.mScreen = std::make_unique<Image>();
    mGame.mScreen->Load(mGame.mFramework->mSurface, 320, 240, false, Image::mKeyRed, Image::mKeyGreen,
                        Image::mKeyBlue);
    mGame.mFont = std::make_unique<Font>();
    mFontLoaded = mGame.mFont->Init("font.png", mGame.mFramework->GetRendererInfo(), 8, 8);

    mGame.mAudioManager = std::make_unique<AudioManager>();
    AudioManager& audio = *mGame.mAudioManager;
    try
    {
        mAudioStarted = audio.Init(mGame.mSound, mGame.mMusic, mGame.mSoundVolume, mGame.mMusicVolume);
    }
    catch (const std::runtime_error&)
    {
        mAudioStarted = false;
    }
    if (loadAudio)
    {
        mAudioLoaded = audio.LoadAllAudioFiles();
        for (auto& song : audio.mSongs)
        {
            const std::string& name = song.first;
            const std::string twin = "data/music/" + name.substr(0, name.rfind('.')) + ".wav";
            if (song.second == nullptr && std::filesystem::exists(twin))
            {
                song.second = Mix_LoadMUS(twin.c_str());
            }
        }
    }

    mGame.mStateManager = std::make_unique<StateManager>();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void GameRig::AddIdleScreens()
{
    StateManager& states = *mGame.mStateManager;
    for (const char* name : {"MainMenu", "Settings", "Story", "Play", "Credits"})
    {
        if (states.mStates.count(name) == 0)
        {
            states.AddState(name, new IdleState());
        }
    }
}

void GameRig::Show(const std::string& name)
{
    mGame.mStateManager->ChangeState(name);
}

std::string GameRig::CurrentState() const
{
    for (const auto& entry : mGame.mStateManager->mStates)
    {
        if (entry.second.get() == mGame.mStateManager->mCurrentState)
        {
            return entry.first;
        }
    }
    return "";
}

void GameRig::HandleEvents()
{
    if (State* current = mGame.mStateManager->mCurrentState)
    {
        current->HandleEvents(&mGame);
    }
}

void GameRig::Tick(int n)
{
    for (int i = 0; i < n; ++i)
    {
        if (State* current = mGame.mStateManager->mCurrentState)
        {
            current->Tick(&mGame);
        }
    }
}

void GameRig::RenderFrame()
{
    SDL_Surface* screen = Screen();
    SDL_FillRect(screen, nullptr, SDL_MapRGBA(screen->format, 0, 0, 0, 255));
    if (State* current = mGame.mStateManager->mCurrentState)
    {
        current->Render(&mGame, 0.0f);
    }
}

std::vector<std::string> GameRig::PlayingSounds() const
{
    std::vector<std::string> names;
    if (!mGame.mAudioManager->mIsInitialized)
    {
        return names;
    }
    const int channels = Mix_AllocateChannels(-1);
    for (int channel = 0; channel < channels; ++channel)
    {
        if (!Mix_Playing(channel))
        {
            continue;
        }
        Mix_Chunk* chunk = Mix_GetChunk(channel);
        for (const auto& sound : mGame.mAudioManager->mSounds)
        {
            if (sound.second != nullptr && sound.second == chunk)
            {
                names.push_back(sound.first);
            }
        }
    }
    return names;
}

void GameRig::QuietSounds()
{
    if (mGame.mAudioManager->mIsInitialized)
    {
        Mix_HaltChannel(-1);
    }
}

SDL_Color GameRig::Pixel(int x, int y) const
{
    SDL_Surface* screen = Screen();
    SDL_Color colour{};
    SDL_GetRGB(Utils::GetPixel(screen, x, y), screen->format, &colour.r, &colour.g, &colour.b);
    return colour;
}

SDL_Surface* GameRig::Screen() const
{
    return mGame.mScreen->mSurface;
}
} // namespace test
