// Shared by the fuzz targets: one working folder per run with a small level, and a game with a window.
#include "FuzzSupport.h"

#include "WorldFixtures.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace fuzz
{
test::TempDir& Work()
{
    static test::TempDir* dir = []
    {
        // Everything runs without a display or a sound device.
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        static test::TempDir folder(true);
        test::WritePlayData(folder, {"level"});
        folder.WritePng("data/gfx/bg.png", 320, 240, std::vector<std::uint32_t>(320 * 240, 0x203040));
        folder.WriteFile("data/story.txt", "A story.\n");
        test::LevelFiles level;
        level.name = "level";
        level.background = {"..........", "....w.....", "..#...^...", "##########"};
        level.placement = "Player 1 1 1\nBlob1 0 5 1 a\nOxygenTank 1 3 1 b\nShipDoor1 1 8 2 c\n"
                          "KeycardLock 1 7 2 c\nCrate 1 4 2 d\n";
        test::WriteLevel(folder, level);
        return &folder;
    }();
    return *dir;
}

void WriteBytes(const std::string& relative, const std::uint8_t* data, std::size_t size)
{
    std::ofstream file(Work().Path() / relative, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file)
    {
        Fail("cannot write " + relative);
    }
}

test::PlayHarness& Harness()
{
    Work();
    static test::PlayHarness harness;
    return harness;
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}
} // namespace fuzz
