// The options screen: key capture, display and sound toggles, volumes, all applied at once.
#include "states/SettingsState.h"

#include "Game.h"
#include "StateManager.h"
#include "audio/AudioManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"
#include "input/Input.h"
#include "io/Translation.h"
#include "platform/Platform.h"
#include "states/AssistState.h"

#include <SDL_mixer.h>

#include <algorithm>

namespace
{
enum Option
{
    MoveLeft,
    MoveRight,
    Jump,
    Fire,
    Fullscreen,
    VSync,
    DisplayFPS,
    Sound,
    SoundVolume,
    Music,
    MusicVolume,
    AssistScreen,
    ScalingChoice,
    LanguageRow,
    OptionCount
};

// TRANSLATORS: an Options row: keep the ": " at its end. The row starts at column 12 of 40, so with its
// value (a key's name, On/Off, 100%, a scaling or a language) it may take 28 characters.
const char* const kLabels[OptionCount] = {
    TrNoop("Move Left: "),    TrNoop("Move Right: "), TrNoop("Jump: "),         TrNoop("Fire: "),
    TrNoop("Fullscreen: "),   TrNoop("VSync: "),      TrNoop("Display FPS: "),  TrNoop("Sound: "),
    TrNoop("Sound Volume: "), TrNoop("Music: "),      TrNoop("Music Volume: "), TrNoop("Assist"),
    TrNoop("Scaling: "),      TrNoop("Language: ")};

// The groups are kept one text line apart, so that every row fits above the hints.
const int kOptionRows[OptionCount] = {0, 1, 2, 3, 5, 6, 7, 9, 10, 12, 13, 15, 16, 17};
const int kOptionX = 92;
const int kArrowX = 84;
const int kFirstOptionY = 60;

bool IsKeyBinding(int option)
{
    return option >= MoveLeft && option <= Fire;
}

bool IsVolume(int option)
{
    return option == SoundVolume || option == MusicVolume;
}

int* KeyBinding(Game* game, int option)
{
    switch (option)
    {
    case MoveLeft:
        return &game->mKeyLeft;
    case MoveRight:
        return &game->mKeyRight;
    case Jump:
        return &game->mKeyJump;
    default:
        return &game->mKeyFire;
    }
}

std::string OnOff(bool on)
{
    // TRANSLATORS: the value of a switch on the Options screen.
    return on ? Tr("On") : Tr("Off");
}

std::string Percent(int volume)
{
    return Utils::ToString(volume * 100 / 128) + "%";
}

std::string KeyName(int scancode)
{
    const char* name = SDL_GetKeyName(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode)));
    return Utils::ToString(name);
}
} // namespace

bool SettingsState::Init(Game* game)
{
    LoadCursorScreen(game, "data/gfx/settings.png");
    return true;
}

void SettingsState::HandleQuit(Game* game)
{
    game->mStateManager->ChangeState("Credits");
}

bool SettingsState::IsCapturingKey() const
{
    return mEditing && IsKeyBinding(mSelectedOption);
}

InputHandler::Next SettingsState::HandleKeyEvent(Game* game, const SDL_KeyboardEvent& key)
{
    using Next = InputHandler::Next;
    const SDL_Scancode code = key.keysym.scancode;
    if (key.type != SDL_KEYDOWN || code == SDL_SCANCODE_ESCAPE)
    {
        // Escape is read as Back, whatever the fade, unless it cancels a capture.
        if (IsCapturingKey() && key.type == SDL_KEYDOWN)
        {
            mEditing = false; // a capture keeps the old key
            return Next::SkipActions;
        }
        return Next::Actions;
    }
    // While fading out, other keys wait in the queue.
    if (mFadeState == Fade::FadingOut)
    {
        return Next::Stop;
    }
    if (!mEditing)
    {
        return Next::Actions;
    }
    // F12 takes screenshots in play, so it can never be bound and never ends an edit.
    if (code == SDL_SCANCODE_F12)
    {
        return Next::SkipActions;
    }
    if (IsKeyBinding(mSelectedOption))
    {
        // Only a fresh press binds: a key held since before the capture (Return, say) repeats.
        if (key.repeat == 0)
        {
            *KeyBinding(game, mSelectedOption) = code;
            mEditing = false;
        }
        return Next::SkipActions;
    }
    const bool editKey = code == SDL_SCANCODE_UP || code == SDL_SCANCODE_DOWN || code == SDL_SCANCODE_LEFT ||
                         code == SDL_SCANCODE_RIGHT || code == SDL_SCANCODE_RETURN;
    if (!editKey)
    {
        mEditing = false;
        return Next::SkipActions;
    }
    return Next::Actions;
}

bool SettingsState::HandleAction(Game* game, Action action, bool repeat)
{
    // Rebinding is for the keyboard: no control binds a key or ends the capture.
    if (IsCapturingKey())
    {
        return true;
    }
    if (GoesBack(action))
    {
        if (mEditing)
        {
            mEditing = false;
        }
        else
        {
            mFadeState = Fade::FadingOut;
        }
        return true;
    }
    // While fading out, the rest waits in the queue.
    if (mFadeState == Fade::FadingOut)
    {
        return false;
    }
    if (mEditing)
    {
        EditVolume(game, action);
    }
    else
    {
        Browse(game, action, repeat);
    }
    return true;
}

void SettingsState::Browse(Game* game, Action action, bool repeat)
{
    // The language steps both ways with Left and Right, and onwards with Return.
    if (mSelectedOption == LanguageRow && (action == Action::Left || action == Action::Right))
    {
        StepLanguage(game, action == Action::Left ? -1 : 1);
        return;
    }
    if (MoveCursor(game, action, mSelectedOption, OptionCount) || action != Action::Accept || repeat)
    {
        return;
    }
    if (IsKeyBinding(mSelectedOption))
    {
        // A key is bound by pressing it, which a touch screen cannot do.
        mEditing = !game->mInput->UsingTouch();
    }
    else if (IsVolume(mSelectedOption))
    {
        mEditing = true;
    }
    else if (mSelectedOption == LanguageRow)
    {
        StepLanguage(game, 1);
    }
    else if (mSelectedOption == AssistScreen)
    {
        mOpenAssist = true;
        mFadeState = Fade::FadingOut;
    }
    else
    {
        Toggle(game);
    }
}

void SettingsState::EditVolume(Game* game, Action action)
{
    AudioManager& audio = *game->mAudioManager;
    const bool sound = mSelectedOption == SoundVolume;
    int step = 0;
    if (action == Action::Up || action == Action::Right)
    {
        step = 1;
    }
    else if (action == Action::Down || action == Action::Left)
    {
        step = -1;
    }
    else
    {
        // Accept ends the edit; the other buttons (a controller's A is Jump too) leave it alone.
        mEditing = mEditing && action != Action::Accept;
        return;
    }
    // The record keeps what the audio manager settled on. Without a sound device the manager ignores
    // volumes, so the clamped choice is kept for it here and still reaches the settings file.
    int& current = sound ? audio.mCurrentSoundVolume : audio.mCurrentMusicVolume;
    const int target = std::clamp(current + step, 0, MIX_MAX_VOLUME);
    if (sound)
    {
        audio.SetSoundVolume(target);
    }
    else
    {
        audio.SetMusicVolume(target);
    }
    if (!audio.mIsInitialized)
    {
        current = target;
    }
    (sound ? game->mSoundVolume : game->mMusicVolume) = current;
}

void SettingsState::Toggle(Game* game)
{
    AudioManager& audio = *game->mAudioManager;
    switch (mSelectedOption)
    {
    case Fullscreen:
        game->mFullscreen = !Platform::IsFullscreen(game->mFramework->mWindow);
        Platform::SetFullscreen(game->mFramework->mWindow, game->mFullscreen);
        break;
    case VSync:
        game->mVSync = !game->mVSync;
        SDL_RenderSetVSync(game->mFramework->mRenderer, game->mVSync ? 1 : 0);
        break;
    case DisplayFPS:
        game->mShowFPS = !game->mShowFPS;
        break;
    case ScalingChoice:
        game->mFramework->mScaling = Scaling::Next(game->mFramework->mScaling);
        Platform::ShowScaling(game->mFramework->mScaling);
        break;
    case Sound:
        audio.mSoundEnabled = !audio.mSoundEnabled;
        game->mSound = audio.mSoundEnabled;
        break;
    case Music:
        if (audio.mMusicEnabled)
        {
            Mix_PauseMusic();
            audio.mMusicEnabled = false;
            game->mMusic = false;
        }
        else
        {
            audio.mMusicEnabled = true;
            game->mMusic = true;
            // The paused piece carries on; with music off since start-up nothing was ever started.
            if (Mix_PausedMusic() == 1)
            {
                Mix_ResumeMusic();
            }
            else
            {
                audio.PlayMusic("menu.ogg", true);
            }
        }
        break;
    default:
        break;
    }
}

void SettingsState::StepLanguage(Game* game, int step)
{
    game->mLanguage.Step(step);
    game->mLanguage.Save();
    game->ApplyLanguage();
    game->mAudioManager->PlaySound("select.wav");
}

void SettingsState::Tick(Game* game)
{
    StepBlink();
    if (StepFade())
    {
        if (mOpenAssist && game->mAssistState != nullptr)
        {
            game->mAssistState->Open(game, "Settings");
        }
        else
        {
            game->mStateManager->ChangeState("MainMenu");
        }
        mOpenAssist = false;
    }
}

std::string SettingsState::OptionLine(Game* game, int option) const
{
    const std::string label = Tr(kLabels[option]);
    if (IsKeyBinding(option))
    {
        if (mEditing && option == mSelectedOption)
        {
            // The question mark blinks while a key is awaited.
            return mArrowVisible ? label + "?" : label + " ";
        }
        return label + KeyName(*KeyBinding(game, option));
    }
    const AudioManager& audio = *game->mAudioManager;
    switch (option)
    {
    case AssistScreen:
        return label;
    case Fullscreen:
        // Window and renderer are asked every frame, so the line shows what is really in effect.
        return label + OnOff(Platform::IsFullscreen(game->mFramework->mWindow));
    case VSync:
        return label + OnOff((game->mFramework->GetRendererInfo().flags & SDL_RENDERER_PRESENTVSYNC) != 0);
    case DisplayFPS:
        return label + OnOff(game->mShowFPS);
    case Sound:
        return label + OnOff(audio.mSoundEnabled);
    case SoundVolume:
        return label + Percent(audio.mCurrentSoundVolume);
    case Music:
        return label + OnOff(audio.mMusicEnabled);
    case ScalingChoice:
        return label + Tr(Scaling::Name(game->mFramework->mScaling));
    case LanguageRow:
        return label + game->mLanguage.Name();
    default:
        return label + Percent(audio.mCurrentMusicVolume);
    }
}

void SettingsState::DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey)
{
    const int fw = font.mCharWidth;
    DrawTitle(screen, 16);

    if (mArrowVisible && !mEditing)
    {
        DrawShape(*mArrowImage, grey, kArrowX, kFirstOptionY + fw * kOptionRows[mSelectedOption], screen);
    }
    for (int option = 0; option < OptionCount; ++option)
    {
        const int y = kFirstOptionY + fw * kOptionRows[option];
        font.DrawString(OptionLine(game, option), kOptionX, y, grey, screen);
        if (mEditing && mArrowVisible && option == mSelectedOption && IsVolume(option))
        {
            // The volume cursor sits in the space after "Sound Volume:" / "Music Volume:".
            DrawShape(*mArrowImage, grey, kOptionX + font.TextWidth(Tr(kLabels[option])) - fw, y, screen);
        }
    }

    // The keyboard's hints mean nothing to a player on a touch screen, who learns what needs a keyboard.
    if (game->mInput->UsingTouch())
    {
        DrawCentred(font, Tr("Rebinding a key needs a keyboard"), screen->h - 28, grey, screen);
        return;
    }
    DrawCursorHints(game, font, grey, screen);
    DrawCentred(
        font,
        Tr(ForDevice(game, TrNoop("Escape = Back to the main menu"),
                     TrNoop("Back Button = Back to the main menu"), TrNoop("Back = Back to the main menu"))),
        screen->h - 20, grey, screen);
}
