// Fuzzes the level list: a new game on any list either starts play or ends with its error, and play on
// whatever was set up runs, draws and takes keys without failing.
#include "FuzzSupport.h"

#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    test::PlayHarness& harness = fuzz::Harness();
    fuzz::WriteBytes("data/maps/maps.lst", data, size);
    try
    {
        harness.BeginGame();
    }
    catch (const std::runtime_error&)
    {
        return 0; // the game would show this in its error box
    }
    for (int i = 0; i < 4; ++i)
    {
        harness.Step((i % 2 == 0 ? test::kLeft : 0u) | (i == 1 ? test::kJump : 0u) | test::kFire);
    }
    harness.RenderFrame();
    // Back to a known screen for the next input.
    harness.mGame.mStateManager->ChangeState("MainMenu");
    return 0;
}
