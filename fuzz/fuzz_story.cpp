// Fuzzes the story file: any text is read, typed out and drawn without failing, its ending page too.
#include "FuzzSupport.h"

#include "states/StoryState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    test::PlayHarness& harness = fuzz::Harness();
    fuzz::WriteBytes("data/story.txt", data, size);
    StoryState story;
    if (!story.Init(&harness.mGame))
    {
        fuzz::Fail("the story screen did not set up");
    }
    if (story.mLines.empty())
    {
        fuzz::Fail("the story screen has nothing to type");
    }
    // Type long enough to reach a few lines, drawing now and then.
    for (int tick = 0; tick < 120; ++tick)
    {
        story.Tick(&harness.mGame);
        if (tick % 20 == 0)
        {
            story.Render(&harness.mGame, 0.0f);
        }
    }
    story.mCurrentLine = static_cast<unsigned>(story.mLines.size() - 1);
    story.mShownChars = 1000000;
    story.Render(&harness.mGame, 0.0f);
    // The ending page after its mark, typed the same way.
    story.BeginEnding();
    for (int tick = 0; tick < 120; ++tick)
    {
        story.Tick(&harness.mGame);
        if (tick % 20 == 0)
        {
            story.Render(&harness.mGame, 0.0f);
        }
    }
    if (story.HasEnding())
    {
        story.mCurrentLine = static_cast<unsigned>(story.mEndingLines.size() - 1);
        story.mShownChars = 1000000;
        story.Render(&harness.mGame, 0.0f);
    }
    return 0;
}
