// A game rig for driving the menu screens tick by tick: a dummy-video window and tiny content
// (recognisable glyphs, an arrow, a sound, music, a story) in a temporary data folder.
#pragma once

#include "GameRig.h"
#include "IdleState.h"
#include "StateManager.h"
#include "TestSupport.h"
#include "states/AssistState.h"
#include "states/CreditsState.h"
#include "states/MainMenuState.h"
#include "states/SettingsState.h"
#include "states/StoryState.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// Stands in for the play screen and counts how often a new game was set up.
class FakePlayState : public test::IdleState
{
  public:
    bool Init(Game*) override { return ++mInitCalls > 0; }
    int mInitCalls = 0;
};

class ScreenTest : public ::testing::Test
{
  protected:
    // Builds the game with the four screens and the stand-in play screen; "MainMenu" is current.
    void StartGame(bool sound = true, bool music = true);
    void Show(const char* name) { mGame.mStateManager->ChangeState(name); }
    State* Current() { return mGame.mStateManager->mCurrentState; }
    static constexpr SDL_Scancode kCloseWindow = SDL_SCANCODE_UNKNOWN;
    // Pushes a key press, or a close request for kCloseWindow.
    void Push(SDL_Scancode key);
    void HandleEvents() { Current()->HandleEvents(&mGame); }
    void Press(SDL_Scancode key)
    {
        Push(key);
        HandleEvents();
    }
    // Key presses and close requests still queued.
    int QueuedEvents();
    // n updates, each sent to the screen current at that moment, as the main loop does.
    void Ticks(int n);
    void RenderFrame();

    // The light-grey pixels of the screen in the box are exactly the given points.
    ::testing::AssertionResult LitExactly(const std::vector<SDL_Point>& points, int x, int y, int w, int h);
    ::testing::AssertionResult TextAt(const std::string& text, int x, int y);
    ::testing::AssertionResult ArrowAt(int x, int y);
    ::testing::AssertionResult Dark(int x, int y, int w, int h) { return LitExactly({}, x, y, w, h); }
    SDL_Color PixelColour(int x, int y);

    test::TempDir mDir;
    test::GameRig mRig;
    Game& mGame = mRig.mGame;
    MainMenuState* mMenu = nullptr;
    SettingsState* mSettings = nullptr;
    StoryState* mStory = nullptr;
    FakePlayState* mPlay = nullptr;
    CreditsState* mCredits = nullptr;
    AssistState* mAssist = nullptr;
};
