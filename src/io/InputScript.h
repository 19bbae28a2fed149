// A recorded input: the game keys held during each update, written as runs such as "R30 RJ6 -4 RF2".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class InputScript
{
  public:
    // The keys held during one update, as bits.
    enum Key : unsigned
    {
        Left = 1,
        Right = 2,
        Jump = 4,
        Fire = 8
    };

    // Longest input accepted, in updates (an hour of play): a typo in a count cannot eat the memory.
    static constexpr std::size_t mMaxUpdates = 30 * 60 * 60;
    // Largest file read: an hour of updates written one word each, with room for comments. A device, a pipe
    // or a larger file is refused unread.
    static constexpr std::uintmax_t mMaxFileSize = 1 << 20;

    // Runs of held keys (L, R, J, F, or - for none), each held for the given number of updates. A key goes
    // down when a run that holds it starts after one that did not, and comes up when a run drops it.
    // Throws std::runtime_error naming the bad word.
    static std::vector<unsigned> Parse(const std::string& script);
    static std::string Format(const std::vector<unsigned>& updates);

    // A level's recorded input (".replay"): script lines joined in order; lines starting with // are
    // comments. Throws std::runtime_error naming the file when it is missing, empty, not a script, not a
    // regular file or larger than mMaxFileSize.
    static std::vector<unsigned> Load(const std::string& path);
};
