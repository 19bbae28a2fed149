// Fuzzes the level link decoder: the packed bytes of a link (or, after a first byte of 0, a link's text)
// are either refused with a message or give a level whose own link reads back the same.
#include "editor/Base64Url.h"
#include "editor/LevelDocument.h"
#include "editor/LevelLink.h"

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
    const std::string link = data[0] == 0 ? bytes : Base64Url::Encode(bytes);
    LevelDocument level;
    try
    {
        level = LevelLink::Unpack(link);
    }
    catch (const std::runtime_error&)
    {
        return 0; // refused, with the message the player is shown
    }
    const std::string again = LevelLink::Pack(level);
    if (LevelLink::Pack(LevelLink::Unpack(again)) != again)
    {
        std::abort();
    }
    return 0;
}
