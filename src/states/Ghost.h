// A recorded run replayed beside the player in a world of its own, drawn as a see-through player.
#pragma once

#include "player/Assist.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

class Game;
class Image;
class PlayState;
class Player;

class Ghost
{
  public:
    ~Ghost();
    Ghost(const Ghost&) = delete;
    Ghost& operator=(const Ghost&) = delete;

    // A ghost at the start of a level file, steered by a recorded input (InputScript bits), under the
    // assists that input was recorded with; null when the level cannot be played.
    static std::unique_ptr<Ghost> Start(Game* game, const std::string& levelFile, std::vector<unsigned> input,
                                        const Assist& rules = Assist());

    // One update, in step with the player's; nothing once it has stopped (at the exit, or where its
    // input ends).
    void Tick(Game* game);
    // Plays on to where it stops; the update it passed the exit in, 0 when it never did.
    int RunToEnd(Game* game);
    // The update it passed the exit in, 0 while it has not.
    int FinishUpdate() const;
    const Player& ThePlayer() const;

    // The player's picture from sprites with every other pixel left out, in a checkerboard fixed to the
    // screen, at its level position less the camera.
    void Render(Image& sprites, SDL_Surface* screen, int cameraX, int cameraY);

  private:
    Ghost();

    std::unique_ptr<PlayState> mWorld;
    std::unique_ptr<Image> mFrame; // one frame of the sprite, drawn here before it is dithered
};
