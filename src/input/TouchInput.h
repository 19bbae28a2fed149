// The browser page's touch controls as an input device, fed through the exported kes_touch entry.
#pragma once

#include "input/Action.h"

#include <array>
#include <utility>
#include <vector>

class Input;

class TouchInput
{
  public:
    // A control held or let go; taken at the next pass. Numbers outside the touch controls are ignored.
    void Queue(int action, bool held);
    // Applies the queued changes in order. The Jump button also chooses in the menus, as a controller's
    // A does.
    void Apply(Input& input);

  private:
    std::vector<std::pair<Action, bool>> mQueued;
    std::array<bool, static_cast<int>(Action::Count)> mHeld{};
};

// The page calls this as its controls are touched: action is Action's number, held 1 or 0.
extern "C" void kes_touch(int action, int held);
// The page's text field answers: the line typed, kept 1, or cancelled (kept 0).
extern "C" void kes_typed(const char* text, int kept);
