// Fuzzes the settings reader: any "kesv.cfg" is read, and what is written back reads as the same record.
#include "FuzzSupport.h"

#include "Game.h"

#include <string>

namespace
{
std::string Record(const Game& g)
{
    return std::to_string(g.mFullscreen) + ' ' + std::to_string(g.mVSync) + ' ' + std::to_string(g.mShowFPS) +
           ' ' + std::to_string(g.mSound) + ' ' + std::to_string(g.mMusic) + ' ' +
           std::to_string(g.mSoundVolume) + ' ' + std::to_string(g.mMusicVolume) + ' ' +
           std::to_string(g.mKeyLeft) + ' ' + std::to_string(g.mKeyRight) + ' ' + std::to_string(g.mKeyJump) +
           ' ' + std::to_string(g.mKeyFire);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WriteBytes("kesv.cfg", data, size);
    Game first;
    if (!first.ReadConfig())
    {
        fuzz::Fail("an existing settings file could not be read");
    }
    if (!first.WriteConfig())
    {
        fuzz::Fail("the settings file could not be written");
    }
    Game second;
    if (!second.ReadConfig())
    {
        fuzz::Fail("the rewritten settings file could not be read");
    }
    if (Record(first) != Record(second))
    {
        fuzz::Fail("rewriting changed the settings: " + Record(first) + " became " + Record(second));
    }
    return 0;
}
