// The application object: settings, services, the screens and the fixed-step main loop.
#pragma once

#include "CommandLine.h"
#include "graphics/ShownPicture.h"
#include "player/Assist.h"
#include "player/Progress.h"
#include "player/WindowSettings.h"

#include <SDL_scancode.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class Framework;
class Timer;
class Font;
class Image;
class AudioManager;
class StateManager;
class MainMenuState;
class SettingsState;
class StoryState;
class PlayState;
class CreditsState;
class EditorState;
class ScratchLevel;
class LevelDocument;
class RaceLink;
class AssistState;
class Input;

class Game
{
  public:
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    bool Init();
    // The desktop's main loop: passes, each followed by a wait for the next display frame or update.
    void Run();
    // One pass of the main loop: the events, the updates that are due and one frame. The browser calls it
    // once per display frame instead of Run.
    void Pass();
    void HandleEvents();
    void Tick();
    void Render(const float& interpolation);
    // Reads "kesv.cfg" into the settings record; false when it cannot be opened.
    bool ReadConfig();
    // Writes "kesv.cfg" (through a symbolic link to its target); false when it cannot be written.
    bool WriteConfig();
    // Writes "kesv.cfg" when the settings record differs from what the file holds.
    void SaveChangedSettings();
    // Writes "kesv.window" when the window's size or the scaling differs from what the file holds.
    void SaveWindowSettings();
    // Whether "kesv.cfg" (or the target of the link it is) exists, readable or not.
    static bool ConfigFileExists();
    void CleanUp();
    // The share of the full update rate the loop runs at: the assist's game speed in play, full elsewhere.
    double UpdateSpeed() const;

    // The command line's part of start-up (GameCommandLine.cpp). Set mCommandLine before Init.
    // Gives the window mode asked for this run and reads the recorded input, before any window opens.
    bool ApplyCommandLine(std::vector<unsigned>& replay);
    // Begins play on the level file of the command line instead of showing the main menu; a race link's
    // level is raced once its run replays to its time.
    bool StartLevelFile(std::vector<unsigned> replay);
    // Reads the command line's link before any window opens: to edit it, or written as a level file to play
    // when it is a playable level. False, said on stderr and in the browser on the page, when it is not.
    bool ReadLink();
    // --print-link: replays the command line's recorded input on its level without a window and prints its
    // race link. The exit status: 0, 3 when the input does not finish the level, 1 when either cannot be
    // read.
    int PrintRaceLink();
    // Opens the level editor on the command line's file.
    bool StartEditor();
    // The window mode kesv.cfg keeps: the file's own while this run's mode is the command line's.
    bool FullscreenToSave() const;

    CommandLine mCommandLine;
    // What the program ends with: 1 when it cannot start or the level or recorded input of the command line
    // cannot be played; with a recorded input, 3 until it finishes the level.
    int mExitStatus = 0;

    bool mIsRunning = false;
    // Whether the settings and window files are written at the end (not by a check run from a script).
    bool mWritesPlayerFiles = true;

    // The settings record, kept in "kesv.cfg". Keys are SDL scancodes; volumes 0..128.
    bool mFullscreen = true;
    bool mVSync = false;
    bool mShowFPS = false;
    bool mSound = true;
    bool mMusic = true;
    int mSoundVolume = 64;
    int mMusicVolume = 64;
    int mKeyLeft = SDL_SCANCODE_LEFT;
    int mKeyRight = SDL_SCANCODE_RIGHT;
    int mKeyJump = SDL_SCANCODE_UP;
    int mKeyFire = SDL_SCANCODE_SPACE;
    std::optional<bool> mFileFullscreen; // the file's window mode while the command line overrides it

    // The furthest level reached and the best times, kept in "kesv.sav" apart from the settings.
    Progress mProgress;
    // The assist options and the ghost choice, kept in "kesv.assist".
    Assist mAssist;
    // The window's size and the picture's scaling, kept in "kesv.window" (the framework holds the live ones).
    WindowSettings mWindowSettings;

    std::unique_ptr<Framework> mFramework;
    std::unique_ptr<Timer> mTimer;
    std::unique_ptr<Font> mFont;
    std::unique_ptr<Image> mScreen; // the 320x240 picture every screen draws on
    std::unique_ptr<AudioManager> mAudioManager;
    // Every device's input as actions; made with the game, so it reads the key bindings above.
    std::unique_ptr<Input> mInput;

    // The five screens, owned by mStateManager.
    MainMenuState* mMainMenuState = nullptr;
    SettingsState* mSettingsState = nullptr;
    StoryState* mStoryState = nullptr;
    PlayState* mPlayState = nullptr;
    CreditsState* mCreditsState = nullptr;
    // The level editor, a screen beside the five; set up only when a level is edited.
    EditorState* mEditorState = nullptr;
    // The files of a link's level while it is played.
    std::unique_ptr<ScratchLevel> mLinkLevel;
    // A link's level to be edited.
    std::unique_ptr<LevelDocument> mLinkDocument;
    // A race link read from the command line, until its level is played against it.
    std::unique_ptr<RaceLink> mRaceLink;
    AssistState* mAssistState = nullptr; // the assist options, opened from the options screen or the pause

    std::unique_ptr<StateManager> mStateManager;

  private:
    std::string SettingsText() const;
    // How messages name the level played: the level file, or a link's level.
    std::string PlayedLevelName() const;
    std::string mLinkLevelName;   // a link's level as messages name it, once the link is read
    ShownPicture mShownPicture;   // where the output keeps it, the picture it shows
    std::string mWrittenSettings; // the record as "kesv.cfg" holds it, last read or written
};
