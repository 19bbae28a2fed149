// Drives the real play screen update by update from recorded input, on the game's own content from a
// chosen level on.
#pragma once

#include "PlayFixtures.h"

#include <filesystem>
#include <memory>
#include <string>

namespace content
{
// A silent game on the dummy video driver whose play screen starts at one level of the real data, in a
// scratch folder. The working directory must hold the built data/ folder.
class PlayDriver
{
  public:
    // Plays the levels of maps.lst from firstLevel on; with render false the camera is placed as drawing
    // would place it, without drawing (for fast searches).
    PlayDriver(std::size_t firstLevel, bool render);

    // Begins the game afresh at the same level, as a new game from the menu would.
    void Restart();
    // One update with these keys held (test::Keys bits), as PlayHarness::Step takes it.
    void Step(unsigned keys) { mHarness->Step(keys, mRender); }

    // The level was left through its exit (the next level is loading, or the run returns to the main menu).
    bool Finished() const;
    bool PlayerAlive() const;
    PlayState& Play() { return mHarness->Play(); }
    Game& GetGame() { return mHarness->mGame; }
    std::string CurrentStateName() const { return mHarness->CurrentState(); }
    // The working directory the driver left for its scratch folder.
    std::filesystem::path Folder() const { return mContent.ContentPath().parent_path(); }

  private:
    // Declared first, so the game is destroyed (and writes its settings) while the scratch folder is
    // still the working directory.
    test::ContentDir mContent;
    std::unique_ptr<test::PlayHarness> mHarness;
    bool mRender;
};
} // namespace content
