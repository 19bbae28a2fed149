// Drives the real play screen update by update from a compact input script, as a player at the keyboard
// would.
#pragma once

#include "GameRig.h"
#include "KeyInput.h"

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

// "R30 RJ6 -4 RF2": runs of held keys (L, R, J, F, or - for none), each held for the given number of updates.
// A key goes down when a run that holds it starts after one that did not, and comes up when a run drops it.
std::vector<unsigned> ParseScript(const std::string& script);
std::string FormatScript(const std::vector<unsigned>& updates);
// A level's recorded input: a text file of script lines joined in order; lines starting with // are
// comments. Throws std::runtime_error naming the file when it is missing, empty or not a script.
std::vector<unsigned> LoadReplay(const std::string& path);

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
