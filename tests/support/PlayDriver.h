// Drives the real play screen update by update from a compact input script, as a player at the keyboard
// would.
#pragma once

#include "GameRig.h"
#include "KeyInput.h"
#include "io/InputScript.h"

#include <filesystem>
#include <string>
#include <vector>

class PlayState;

namespace content
{
// The keys held during one update, as bits.
using test::Keys;
using test::kFire;
using test::kJump;
using test::kLeft;
using test::kRight;

// A game on the dummy video driver whose play screen starts at one level of the real data.
// The working directory must hold the built data/ folder.
class PlayDriver
{
  public:
    // Plays the levels of maps.lst from firstLevel on; with render false the camera is placed as drawing
    // would place it, without drawing (for fast searches).
    PlayDriver(std::size_t firstLevel, bool render);
    ~PlayDriver();
    PlayDriver(const PlayDriver&) = delete;
    PlayDriver& operator=(const PlayDriver&) = delete;

    // Begins the game afresh at the same level, as a new game from the menu would.
    void Restart();
    // One update: key events for the change from the previous keys, HandleEvents, Tick, then the frame.
    void Step(unsigned keys);

    // The level was left through its exit (the next level is loading, or the run returns to the main menu).
    bool Finished() const;
    bool PlayerAlive() const;
    PlayState& Play() { return *mPlay; }
    Game& GetGame() { return mRig.mGame; }
    std::string CurrentStateName() const;
    // The working directory the driver left for its scratch folder.
    const std::filesystem::path& Folder() const { return mPreviousFolder; }

  private:
    std::filesystem::path mFolder;
    std::filesystem::path mPreviousFolder;
    test::GameRig mRig;
    Game& mGame = mRig.mGame;
    PlayState* mPlay = nullptr;
    int mStartLevel = 0;
    bool mRender;
};
} // namespace content
