// Fuzzes the level description: any text either loads a level that can be played and drawn, or fails
// with an error, never worse.
#include "FuzzSupport.h"

#include "LevelChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WriteBytes("data/maps/fuzz_description", data, size);
    fuzz::LoadAndExercise("data/maps/fuzz_description");
    return 0;
}
