// Driving the real play screen update by update: a small Game with what play needs, on fixture levels
// written into a TempDir or on the game's own content, with key presses, frames, sounds and pixels.
#pragma once

#include "Game.h"
#include "IdleState.h"
#include "StateManager.h"
#include "TestSupport.h"
#include "audio/AudioManager.h"
#include "entities/Player.h"
#include "states/PlayState.h"
#include "world/Map.h"

#include <SDL.h>

#include <filesystem>
#include <string>
#include <vector>

namespace test
{
// The sounds play uses and the music it starts, written by WritePlayData.
extern const std::vector<std::string> kPlaySounds;

// Everything play needs besides the levels themselves: type tables, "tiles"/"sprites" sheets and the
// HUD (WriteWorldData), an 8x8 font whose glyphs all differ, the play sounds, "level.ogg" and "menu.ogg"
// in the music list (played from PCM twins, see PlayHarness), and "data/maps/maps.lst" holding the lines.
void WritePlayData(const TempDir& dir, const std::vector<std::string>& levelList);

// The keys held during one update of a replay.
struct HeldKeys
{
    bool left = false;
    bool right = false;
    bool jump = false;
    bool fire = false;
};

// A Game with a dummy-video window, the 320x240 screen, the font "font.png", audio from the lists under
// data/ (silent when no device opens; a piece of music that cannot be decoded is replaced by a ".wav" file
// of the same name when there is one), and the real PlayState registered as "Play" beside idle "MainMenu",
// "Settings", "Story" and "Credits". Reads data/ under the working directory; "MainMenu" is current.
class PlayHarness
{
  public:
    PlayHarness();
    ~PlayHarness();
    PlayHarness(const PlayHarness&) = delete;
    PlayHarness& operator=(const PlayHarness&) = delete;

    // Begins a game as the story screen does: switches to "Play", then calls Init. Init's result.
    bool BeginGame();
    // n fixed updates, each given to the screen current at that moment, as the main loop does.
    void Tick(int n = 1);
    // Runs the 32 updates of the opening fade-in.
    void SkipFadeIn() { Tick(32); }
    // Draws one frame the way the main loop does, before enlarging: screen cleared to black, then Render.
    void RenderFrame();
    // One pass of event handling by the current screen.
    void HandleEvents();
    // One pass of the main loop with recorded input: key events for every key pressed or released since
    // the previous step (with the game's bindings), event handling, one update and one frame.
    // A held key sends no repeats.
    void Step(const HeldKeys& keys);

    void PushKeyDown(SDL_Scancode key, bool repeat = false);
    void PushKeyUp(SDL_Scancode key);
    void PushQuit();

    // The name under which the current screen is registered, or "" when none is current.
    std::string CurrentState() const;
    // Names of the sounds still playing, in channel order: after QuietSounds, the order they started in.
    std::vector<std::string> PlayingSounds() const;
    void QuietSounds();
    // Colour of a pixel of the 320x240 screen.
    SDL_Color Pixel(int x, int y) const;
    SDL_Surface* Screen() const;

    PlayState& Play() { return *mPlay; }
    Player& ThePlayer() { return *mPlay->mPlayer; }
    Map& TheMap() { return *mPlay->mMap; }

    Game mGame;

  private:
    PlayState* mPlay = nullptr;
    HeldKeys mHeld;
};

// A fresh working folder whose "data" links to the data/ folder of the working directory at construction
// (ctest runs test programs in the build folder, where the game's content is generated). Settings and
// screenshots the game writes stay out of the build folder.
class ContentDir
{
  public:
    ContentDir();
    // False when there was no data/ folder with a level list to link.
    bool HasContent() const { return mHasContent; }
    const std::filesystem::path& ContentPath() const { return mContent; }

  private:
    std::filesystem::path mContent; // taken before the folder below is entered
    TempDir mDir;
    bool mHasContent = false;
};
} // namespace test
