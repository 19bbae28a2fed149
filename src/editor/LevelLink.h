// A whole level as a link: its cells, entities and description in a compact text, packed and written in
// base64url, so it fits an address's fragment and travels without a server.
#pragma once

#include "editor/LinkCodec.h"

#include <cstddef>
#include <string>

class LevelDocument;

class LevelLink
{
  public:
    LevelLink() = delete;

    // The most cells a link holds, 256x256 or any other shape of as many; a larger level has no link.
    static constexpr long long mMaxCells = 256LL * 256LL;
    // The longest link text taken in: the base64 of the largest packing, with room for the address around
    // it. A real level's link is a few kilobytes; a level of mMaxCells cells in 64 kinds of tile scattered
    // at random makes the longest, about 180 KB.
    static constexpr std::size_t mMaxText = (LinkCodec::mMaxPacked + 2) / 3 * 4 + 4096;
    // What the player is told on asking for the link of a level that has none.
    static constexpr const char* mTooLarge = "This level is too large for a link";

    // Whether a level fits a link: size and text within the bounds that Unpack enforces, and at most 64
    // kinds of tile a layer. False with the reason for the player in *why when given.
    static bool Fits(const LevelDocument& level, std::string* why = nullptr);
    // Throws std::runtime_error with the reason for the player when the level does not fit a link.
    static std::string Pack(const LevelDocument& level);
    // The link itself, or a whole address holding it after its "#". Throws std::runtime_error with a
    // message for the player for anything that is not a level link; the level is not checked for play.
    static LevelDocument Unpack(const std::string& link);

    // The unpacked text of a level, and back (exposed for the tests and the fuzzer).
    static std::string Text(const LevelDocument& level);
    static LevelDocument FromText(const std::string& text);
};
