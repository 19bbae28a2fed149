// Fuzzes the race link reader: a race's text (first byte 0), a whole link (first byte 1), or the packed
// bytes of a run's part are either refused with a message or give a race whose own link reads back the same.
#include "editor/Base64Url.h"
#include "editor/LinkCodec.h"
#include "editor/RaceLink.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
    {
        return 0;
    }
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    RaceLink race;
    try
    {
        if (data[0] == 0)
        {
            race = RaceLink::FromText(bytes);
        }
        else
        {
            race = RaceLink::Unpack(data[0] == 1 ? bytes : RaceLink::mPrefix + Base64Url::Encode(bytes));
        }
    }
    catch (const std::runtime_error&)
    {
        return 0; // refused, with the message the player is shown
    }
    if (race.mRun.size() > RaceLink::mMaxUpdates || race.mTime < 1 ||
        static_cast<std::size_t>(race.mTime) > race.mRun.size())
    {
        std::abort(); // a run out of its bounds was taken
    }
    const std::string again = race.Pack();
    if (RaceLink::Unpack(again).Pack() != again)
    {
        std::abort();
    }
    return 0;
}
