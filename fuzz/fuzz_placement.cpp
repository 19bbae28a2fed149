// Fuzzes the entity placement file on a fixed small level.
#include "FuzzSupport.h"

#include "LevelChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool described = []
    {
        fuzz::Work().WriteFile("data/maps/fuzz_placed", "level_bg.png level_col.png fuzz_placement.ent\n");
        return true;
    }();
    (void)described;
    fuzz::WriteBytes("data/maps/fuzz_placement.ent", data, size);
    fuzz::LoadAndExercise("data/maps/fuzz_placed");
    return 0;
}
