// A screen that does nothing: stands in for the screens play switches to by name.
#pragma once

#include "State.h"

namespace test
{
class IdleState : public State
{
  public:
    bool Init(Game*) override { return true; }
    void CleanUp() override {}
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game*) override {}
    void Tick(Game*) override {}
    void Render(Game*, const float&) override {}
};
} // namespace test
