// A small game for driving the menu screens tick by tick: a dummy-video window and tiny content
// (recognisable font glyphs, an arrow, a sound, music, a story) in a temporary data folder.
#pragma once

#include "Game.h"
#include "State.h"
#include "TestSupport.h"
#include "states/CreditsState.h"
#include "states/MainMenuState.h"
#include "states/SettingsState.h"
#include "states/StoryState.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

// Stands in for the play screen and counts how often a new game was set up.
class FakePlayState : public State
{
public:
    bool Init(Game*) override { return ++mInitCalls > 0; }
    void CleanUp() override {}
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game*) override {}
    void Tick(Game*) override {}
    void Render(Game*, const float&) override {}
    int mInitCalls = 0;
};

class ScreenTest : public ::testing::Test
{
protected:
    // Builds the game with the four screens and the stand-in play screen; "MainMenu" is current.
    void StartGame(bool sound = true, bool music = true);
    void Show(const char* name);

    void PushKey(SDL_Scancode key);
    void PushQuit();
    // Key presses and close requests still waiting in SDL's queue.
    int QueuedEvents();
    void HandleEvents() { Current()->HandleEvents(&mGame); }
    // n updates, each sent to the screen current at that moment, as the main loop does.
    void Ticks(int n);
    State* Current();
    void RenderFrame();

    // Lit (light grey) pixels of the screen in the box match those of `draw` on a blank surface.
    ::testing::AssertionResult Matches(const std::function<void(SDL_Surface*)>& draw, int x, int y, int width,
                                       int height);
    ::testing::AssertionResult TextAt(const std::string& text, int x, int y);
    ::testing::AssertionResult ArrowAt(int x, int y);
    ::testing::AssertionResult Dark(int x, int y, int width, int height);
    SDL_Color PixelColour(int x, int y);

    test::TempDir mDir;
    Game mGame;
    MainMenuState* mMenu = nullptr;
    SettingsState* mSettings = nullptr;
    StoryState* mStory = nullptr;
    FakePlayState* mPlay = nullptr;
    CreditsState* mCredits = nullptr;
};
