// The touch controls: held and let-go controls queued by the page, applied at the start of a pass.
#include "input/TouchInput.h"

#include "input/Input.h"

void TouchInput::Queue(int action, bool held)
{
    // The page offers the nine player actions and the editor's two; the screenshot is the keyboard's alone.
    if (action < 0 || action >= static_cast<int>(Action::Count) ||
        action == static_cast<int>(Action::Screenshot))
    {
        return;
    }
    mQueued.emplace_back(static_cast<Action>(action), held);
}

void TouchInput::Apply(Input& input)
{
    for (const auto& [action, held] : mQueued)
    {
        bool& holding = mHeld[static_cast<int>(action)];
        // A finger held on a control stays one holder however often the page repeats it.
        if (holding == held)
        {
            continue;
        }
        holding = held;
        input.Hold(Input::Device::Touch, action, held);
        if (action == Action::Jump)
        {
            input.Hold(Input::Device::Touch, Action::Accept, held);
        }
    }
    mQueued.clear();
}

extern "C" void kes_touch(int action, int held)
{
    if (Input* input = Input::Running())
    {
        input->Touch(action, held != 0);
    }
}

extern "C" void kes_typed(const char* text, int kept)
{
    if (Input* input = Input::Running(); input != nullptr && text != nullptr)
    {
        input->Answer(text, kept != 0);
    }
}
