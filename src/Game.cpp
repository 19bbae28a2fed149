// The application object: start-up, the fixed-step main loop, drawing a frame and shut-down.
#include "Game.h"

#include "StateManager.h"
#include "Timer.h"
#include "audio/AudioManager.h"
#include "editor/EditorState.h"
#include "editor/RaceLink.h"
#include "editor/ScratchLevel.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"
#include "input/Input.h"
#include "platform/Platform.h"
#include "states/AssistState.h"
#include "states/CreditsState.h"
#include "states/MainMenuState.h"
#include "states/PlayState.h"
#include "states/SettingsState.h"
#include "states/StoryState.h"

#include <SDL.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace
{
// Displays that report no refresh rate (virtual ones do) are paced as a common monitor.
constexpr int kFallbackRefreshRate = 60;
constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
constexpr int kScale = 2;
// Longer than this without a pass, the page was away (hidden, frozen): its canvas may have been dropped.
constexpr double kAwayMs = 1000.0;

// Registers a screen; on success the manager owns it and the returned pointer is the link to keep.
template <typename T> T* Register(StateManager& manager, const std::string& name, std::unique_ptr<T>& state)
{
    T* raw = state.get();
    manager.AddState(name, raw);
    const auto found = manager.mStates.find(name);
    if (found != manager.mStates.end() && found->second.get() == raw)
    {
        state.release();
    }
    return raw;
}

// A start-up that ends without an error box still says why, on standard error, and the program ends
// with a failure's status.
bool StartFailed(Game& game, const std::string& reason)
{
    Platform::NotStarted(reason);
    game.mExitStatus = 1;
    return false;
}

template <typename T> std::unique_ptr<T> CreateAndInit(Game* game, const char* failure)
{
    auto state = std::make_unique<T>();
    if (!state->Init(game))
    {
        throw std::runtime_error(failure);
    }
    return state;
}
} // namespace

Game::Game() : mInput(std::make_unique<Input>(mKeyLeft, mKeyRight, mKeyJump, mKeyFire)) {}

Game::~Game()
{
    CleanUp();
}

bool Game::Init()
{
    // Settings: written with the defaults only when missing, then read again. A file that is there but
    // cannot be read is the player's: it is left alone, and the game does not start.
    if (!ReadConfig())
    {
        if (ConfigFileExists())
        {
            return StartFailed(*this, "the settings file kesv.cfg exists but cannot be read");
        }
        WriteConfig();
        if (!ReadConfig())
        {
            return StartFailed(*this, "the settings file kesv.cfg can be neither read nor created");
        }
    }

    // Progress is the player's too: its bad lines are skipped, but a file that cannot be read at all is
    // left alone, as the settings are.
    const std::string progressRefused = mProgress.Load();
    if (!progressRefused.empty())
    {
        return StartFailed(*this, progressRefused);
    }
    mAssist.Load();
    mWindowSettings.Load();

    std::vector<unsigned> replay;
    if (!ApplyCommandLine(replay))
    {
        return false;
    }
    if (!mCommandLine.mLinkText.empty() && !ReadLink())
    {
        return false;
    }

    // Window, renderer and the 640x480 window surface.
    mFramework = std::make_unique<Framework>();
    mFramework->mResizable = Platform::HasResizableWindow();
    mFramework->mWindowedSize = {mWindowSettings.mWidth, mWindowSettings.mHeight};
    mFramework->mScaling = mWindowSettings.mScaling;
    if (!mFramework->Init(Platform::OpensFullscreen(mFullscreen), mVSync))
    {
        return StartFailed(*this, "the window could not be opened");
    }
    Platform::ShowScaling(mFramework->mScaling);

    // The 320x240 picture every screen draws on, in the window surface's format.
    mScreen = std::make_unique<Image>();
    mScreen->Load(mFramework->mSurface, kScreenWidth, kScreenHeight, false, Image::mKeyRed, Image::mKeyGreen,
                  Image::mKeyBlue);

    // Loop timing from the display's refresh rate.
    mTimer = std::make_unique<Timer>();
    const int refreshRate = mFramework->mDisplayMode.refresh_rate;
    mTimer->Init(refreshRate > 0 ? refreshRate : kFallbackRefreshRate);

    // The shared font.
    mFont = std::make_unique<Font>();
    const SDL_RendererInfo rendererInfo = mFramework->GetRendererInfo();
    if (!mFont->Init("font.png", rendererInfo, 8, 8))
    {
        return StartFailed(*this, "the font picture font.png could not be loaded");
    }

    // Audio. Without a sound device the game runs silently: the manager stays uninitialised, so
    // every operation is a no-op, but it keeps the player's choices for the settings screen.
    mAudioManager = std::make_unique<AudioManager>();
    try
    {
        if (!mAudioManager->Init(mSound, mMusic, mSoundVolume, mMusicVolume))
        {
            return StartFailed(*this, "the audio could not be set up");
        }
    }
    catch (const std::runtime_error&)
    {
        mAudioManager->mSoundEnabled = mSound;
        mAudioManager->mMusicEnabled = mMusic;
        mAudioManager->mCurrentSoundVolume = mSoundVolume;
        mAudioManager->mCurrentMusicVolume = mMusicVolume;
    }
    if (mAudioManager->LoadAllAudioFiles())
    {
        mAudioManager->PlayMusic("menu.ogg", false);
    }

    // The screens. They stay in local owners until registered, so a later failing Init
    // frees the earlier ones. The play screen is set up each time play begins, not here.
    mStateManager = std::make_unique<StateManager>();
    auto mainMenu = CreateAndInit<MainMenuState>(this, "Unable to initialize main menu state!");
    auto settings = CreateAndInit<SettingsState>(this, "Unable to initialize settings state!");
    auto story = CreateAndInit<StoryState>(this, "Unable to initialize story state!");
    auto play = std::make_unique<PlayState>();
    auto credits = CreateAndInit<CreditsState>(this, "Unable to initialize credits state!");
    auto assist = CreateAndInit<AssistState>(this, "Unable to initialize assist state!");
    auto editor = std::make_unique<EditorState>();

    // Registration, then the main menu (or the level of the command line) is the first screen.
    mMainMenuState = Register(*mStateManager, "MainMenu", mainMenu);
    mSettingsState = Register(*mStateManager, "Settings", settings);
    mStoryState = Register(*mStateManager, "Story", story);
    mPlayState = Register(*mStateManager, "Play", play);
    mCreditsState = Register(*mStateManager, "Credits", credits);
    mAssistState = Register(*mStateManager, "Assist", assist);
    mEditorState = Register(*mStateManager, "Editor", editor);
    if (!mCommandLine.mEditFile.empty())
    {
        if (!StartEditor())
        {
            return false;
        }
    }
    else if (mCommandLine.mLevelFile.empty())
    {
        mStateManager->ChangeState("MainMenu");
    }
    else if (!StartLevelFile(std::move(replay)))
    {
        return false;
    }

    // Controllers are a convenience: when their support cannot start, the keyboard still plays.
    mInput->StartControllers();

    mIsRunning = true;
    return true;
}

void Game::Run()
{
    // A pass always completes, frame included, even when a screen has just ended the game.
    while (mIsRunning)
    {
        Pass();
        mTimer->WaitForNextFrame();
    }
}

void Game::Pass()
{
    mTimer->BeginPass();
    if (mTimer->mCurrentTime - mTimer->mLastFrameTime > kAwayMs)
    {
        mShownPicture.Forget();
    }
    HandleEvents();
    mTimer->mSpeed = UpdateSpeed();
    // The current screen is looked up for every update, so a switch takes effect at once.
    const int updates = mTimer->RunUpdates([this] { Tick(); });
    const float interpolation = mTimer->ComputeInterpolation();
    // A page nobody sees is not drawn (a desktop window is never hidden while the game runs). No screen
    // draws between updates, so where drawing the same picture again costs, a pass without one skips it.
    const bool hidden = (SDL_GetWindowFlags(mFramework->mWindow) & SDL_WINDOW_HIDDEN) != 0;
    if (!hidden && (updates > 0 || Platform::DrawsEveryPass()))
    {
        Render(interpolation);
    }
    mTimer->EndFrame();
    if (Platform::SavesSettingsOnChange())
    {
        SaveChangedSettings();
        SaveWindowSettings();
    }
}

void Game::HandleEvents()
{
    if (mStateManager && mStateManager->mCurrentState)
    {
        mStateManager->mCurrentState->HandleEvents(this);
    }
}

void Game::Tick()
{
    if (mStateManager && mStateManager->mCurrentState)
    {
        mStateManager->mCurrentState->Tick(this);
    }
}

void Game::Render(const float& interpolation)
{
    SDL_Surface* screen = mScreen->mSurface;
    SDL_FillRect(screen, nullptr, SDL_MapRGBA(screen->format, 0, 0, 0, 255));

    if (mStateManager && mStateManager->mCurrentState)
    {
        mStateManager->mCurrentState->Render(this, interpolation);
    }

    if (mShowFPS)
    {
        // White text with a black copy one pixel to its right, ending one cell before the right edge.
        const std::string text = Utils::ToString(mTimer->mFramesPerSecond) + " fps";
        const int charWidth = mFont->mCharWidth;
        const int x = screen->w - charWidth - charWidth * static_cast<int>(text.size());
        mFont->DrawString(text, x + 1, 4, SDL_MapRGBA(screen->format, 0, 0, 0, 255), screen);
        mFont->DrawString(text, x, 4, SDL_MapRGBA(screen->format, 255, 255, 255, 255), screen);
    }

    // Where the output keeps its last picture, a frame like the one shown is not shown again: an idle menu
    // then costs little more than drawing it.
    if (Platform::DrawsEveryPass() || mShownPicture.Take(*screen, mFramework->PictureRect()))
    {
        mFramework->Clear();
        // The source size is the destination's; the copy is clipped to the 320x240 picture.
        SDL_Surface* window = mFramework->mSurface;
        mScreen->DrawScaled(window, kScale, 0, 0, 0, 0, window->w, window->h);
        mFramework->Render();
    }

    mTimer->mFrameCount += 1;
}

void Game::CleanUp()
{
    // The settings are saved at every exit, also after a failed start-up.
    if (mWritesPlayerFiles)
    {
        WriteConfig();
        SaveWindowSettings();
    }

    // Order matters: the screens may still hold images and sounds, and the framework shuts SDL down.
    mStateManager.reset();
    mTimer.reset();
    mFont.reset();
    mScreen.reset();
    mAudioManager.reset();
    if (mInput)
    {
        mInput->StopControllers();
    }
    mFramework.reset();
}

double Game::UpdateSpeed() const
{
    const State* current = mStateManager ? mStateManager->mCurrentState : nullptr;
    return current != nullptr && current == mPlayState ? mAssist.mSpeed / 100.0 : 1.0;
}

void Game::SaveWindowSettings()
{
    if (!mFramework || !mFramework->mWindow)
    {
        return;
    }
    // A browser's canvas keeps one size; only the scaling is the player's there.
    if (mFramework->mResizable)
    {
        mWindowSettings.mWidth = mFramework->mWindowedSize.x;
        mWindowSettings.mHeight = mFramework->mWindowedSize.y;
    }
    mWindowSettings.mScaling = mFramework->mScaling;
    mWindowSettings.SaveChanged();
}
