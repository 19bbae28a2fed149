// A game in progress on a chosen level, set up the way the story screen starts one, for measuring.
#pragma once

#include "ContentFolder.h"
#include "PlayFixtures.h"

#include <memory>
#include <string>

namespace bench
{
class PlayScene
{
  public:
    // Begins a game whose first level is `level` (a description in data/maps/ of the working folder) and
    // runs the opening fade-in. Throws std::runtime_error when the game cannot begin.
    PlayScene(const ContentFolder& folder, const std::string& level);

    // Begins the game again from the level's start, fade-in included.
    void Restart();

    // Moves the player so that the level drawing centres the camera on (cameraX, cameraY)'s view.
    void AimCamera(int cameraX, int cameraY);
    // Adds a shot as the fire rule makes it, at level position (x, y), flying right or left.
    void AddShot(double x, double y, bool right);

    // One frame exactly as the main loop draws it, into the 640x480 window surface, but neither uploaded
    // nor presented: the present path is measured on the real program.
    void DrawFrame();

    Game& TheGame() { return mHarness->mGame; }
    PlayState& Play() { return mHarness->Play(); }
    Map& TheMap() { return mHarness->TheMap(); }
    Player& ThePlayer() { return mHarness->ThePlayer(); }
    SDL_Surface* Screen() const { return mHarness->Screen(); }
    SDL_Surface* Window() const;

  private:
    std::unique_ptr<test::PlayHarness> mHarness;
};
} // namespace bench
