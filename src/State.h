// The interface every screen of the game implements.
#pragma once

class Game;

class State
{
  public:
    virtual ~State() = default;
    virtual bool Init(Game* game) = 0;
    virtual void CleanUp() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void HandleEvents(Game* game) = 0;
    virtual void Tick(Game* game) = 0;
    // interpolation: the elapsed fraction of the current update step, 0 to 1.
    virtual void Render(Game* game, const float& interpolation) = 0;
};
