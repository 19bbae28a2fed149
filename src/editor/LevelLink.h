// A whole level as a link: its cells, entities and description in a compact text, packed and written in
// base64url, so it fits an address's fragment and travels without a server.
#pragma once

#include <string>

class LevelDocument;

class LevelLink
{
  public:
    LevelLink() = delete;

    // The longest link text taken in; a real level's link is a few kilobytes.
    static constexpr std::size_t mMaxText = 128 * 1024;

    static std::string Pack(const LevelDocument& level);
    // The link itself, or a whole address holding it after its "#". Throws std::runtime_error with a
    // message for the player for anything that is not a level link; the level is not checked for play.
    static LevelDocument Unpack(const std::string& link);

    // The unpacked text of a level, and back (exposed for the tests and the fuzzer).
    static std::string Text(const LevelDocument& level);
    static LevelDocument FromText(const std::string& text);
};
