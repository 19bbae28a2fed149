// A picture of a whole level as play shows it at the start: stars, both tile layers, every entity and
// the player.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

class Map;
class Player;

class LevelPicture
{
  public:
    // Draws the level at 1:1 (16 pixels per tile) with the map's own drawing, in the given pixel format.
    LevelPicture(Map& map, const Player& player, Uint32 pixelFormat);

    SDL_Surface* Surface() const { return mSurface.get(); }
    // False when the PNG cannot be written.
    bool Save(const std::string& path) const;

  private:
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> mSurface;
};
