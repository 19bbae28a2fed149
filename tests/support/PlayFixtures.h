// Driving the real play screen update by update: a game rig with what play needs, on fixture levels
// written into a TempDir or on the game's own content, with key presses, frames, sounds and pixels.
#pragma once

#include "GameRig.h"
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

// Two seconds of a quiet 16-bit mono square wave as a ".wav" file: still playing when a test asks.
std::string QuietWave();
// Whether pixel (x, y) of glyph `index` (a character minus 32) of the fixture font is lit. Each glyph has
// its own pattern (the top row spells its index), so a wrong or shifted text never matches; the space
// stays empty.
bool GlyphPixel(int index, int x, int y);
// "data/gfx/font.png": the 95 glyphs of GlyphPixel, white on the colour key.
void WriteFixtureFont(const TempDir& dir);

// Whether pixel (x, y) of the menus' fixture arrow is lit: a right-pointing triangle.
bool ArrowPixel(int x, int y);
// The pictures the menu screens load: "arrow.png" (ArrowPixel on the colour key), a black "bg.png", a
// 16x8 "title.png" of 0x3040A0 and a 24x8 "settings.png" of 0x40A030.
void WriteMenuPictures(const TempDir& dir);

// Everything play needs besides the levels themselves: type tables, "tiles"/"sprites" sheets and the
// HUD (WriteWorldData), the fixture font, the play sounds, "level.ogg" and "menu.ogg"
// in the music list (played from PCM twins, see GameRig::Start), and "data/maps/maps.lst" holding the lines.
void WritePlayData(const TempDir& dir, const std::vector<std::string>& levelList);

// A game rig with the font "font.png", audio from the lists under data/ (silent when no device opens),
// and the real PlayState registered as "Play" beside idle "MainMenu", "Settings", "Story" and "Credits",
// or beside every screen of the game as start-up registers them (the menu pictures of WriteMenuPictures
// needed then). Reads data/ under the working directory; "MainMenu" is current.
class PlayHarness : public GameRig
{
  public:
    enum class Screens
    {
        Idle,
        Game
    };
    // With silent, sound and music are off and their lists are not loaded: play runs the same without them.
    explicit PlayHarness(bool silent = false, Screens screens = Screens::Idle);

    // Begins a game as the story screen does: switches to "Play", then calls Init. Init's result.
    bool BeginGame();
    // Runs the 32 updates of the opening fade-in.
    void SkipFadeIn() { Tick(32); }
    // One pass of the main loop with recorded input (test::Keys bits): key events for every key pressed or
    // released since the previous step (with the game's bindings), event handling, one update and one
    // frame. A held key sends no repeats. Without draw the camera is placed as drawing would place it.
    void Step(unsigned keys, bool draw = true);

    PlayState& Play() { return *mPlay; }
    Player& ThePlayer() { return *mPlay->mPlayer; }
    Map& TheMap() { return *mPlay->mMap; }

  private:
    PlayState* mPlay = nullptr;
};

// A fresh working folder whose "data" links to the data/ folder of the working directory at construction
// (ctest runs test programs in the build folder, where the game's content is generated), with a level
// list that starts at firstLevel of the real one. Settings and screenshots the game writes stay out of the
// build folder, as long as the game is destroyed before this folder. Throws std::runtime_error when the
// list has no such level.
class ContentDir
{
  public:
    explicit ContentDir(std::size_t firstLevel = 0);
    // False when there was no data/ folder with a level list to link.
    bool HasContent() const { return mHasContent; }
    const std::filesystem::path& ContentPath() const { return mContent; }

  private:
    std::filesystem::path mContent; // taken before the folder below is entered
    TempDir mDir;
    bool mHasContent = false;
};
} // namespace test
