// Fuzzes level loading from arbitrary layer images: the bytes are both layers of a level.
#include "FuzzSupport.h"

#include "LevelChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool described = []
    {
        fuzz::Work().WriteFile("data/maps/fuzz_image", "fuzz_layer.png fuzz_layer.png level.ent\n");
        return true;
    }();
    (void)described;
    fuzz::WriteBytes("data/maps/fuzz_layer.png", data, size);
    fuzz::LoadAndExercise("data/maps/fuzz_image");
    return 0;
}
