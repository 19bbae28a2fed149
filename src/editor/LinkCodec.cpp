// Packing and bounded unpacking of a level link's bytes.
#include "editor/LinkCodec.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
// A token byte below 0x80 starts a run of (byte + 1) literal bytes; from 0x80 on it copies
// (byte & 0x7F) + 3 bytes from a distance of the next two bytes (low first) + 1.
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 0x7F + kMinMatch;
constexpr std::size_t kMaxLiterals = 0x80;
constexpr std::size_t kWindow = 65536;
constexpr int kHashBits = 14;

std::uint32_t Hash(const std::string& bytes, std::size_t at)
{
    const std::uint32_t three = static_cast<std::uint8_t>(bytes[at]) |
                                (static_cast<std::uint8_t>(bytes[at + 1]) << 8) |
                                (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 2])) << 16);
    return (three * 2654435761u) >> (32 - kHashBits);
}

void FlushLiterals(const std::string& bytes, std::size_t from, std::size_t to, std::string& out)
{
    while (from < to)
    {
        const std::size_t run = std::min(kMaxLiterals, to - from);
        out += static_cast<char>(run - 1);
        out.append(bytes, from, run);
        from += run;
    }
}

std::string TooLarge()
{
    return "The link is too large: a level link unpacks to at most " +
           std::to_string(LinkCodec::mMaxUnpacked / 1024) + " KiB";
}

[[noreturn]] void Broken(const std::string& why)
{
    throw std::runtime_error("The link is broken: " + why);
}
} // namespace

std::string LinkCodec::Pack(const std::string& bytes)
{
    if (bytes.size() > mMaxUnpacked)
    {
        throw std::runtime_error(TooLarge());
    }
    std::string out;
    // The unpacked length first, seven bits a byte.
    std::size_t length = bytes.size();
    do
    {
        out += static_cast<char>((length & 0x7F) | (length > 0x7F ? 0x80 : 0));
        length >>= 7;
    } while (length != 0);

    std::vector<long long> last(std::size_t(1) << kHashBits, -1);
    std::size_t literalsFrom = 0;
    std::size_t at = 0;
    while (at + kMinMatch <= bytes.size())
    {
        const std::uint32_t hash = Hash(bytes, at);
        const long long candidate = last[hash];
        last[hash] = static_cast<long long>(at);
        std::size_t match = 0;
        if (candidate >= 0 && at - static_cast<std::size_t>(candidate) <= kWindow)
        {
            const std::size_t from = static_cast<std::size_t>(candidate);
            while (at + match < bytes.size() && match < kMaxMatch && bytes[from + match] == bytes[at + match])
            {
                ++match;
            }
        }
        if (match < kMinMatch)
        {
            ++at;
            continue;
        }
        FlushLiterals(bytes, literalsFrom, at, out);
        const std::size_t distance = at - static_cast<std::size_t>(candidate) - 1;
        out += static_cast<char>(0x80 | (match - kMinMatch));
        out += static_cast<char>(distance & 0xFF);
        out += static_cast<char>(distance >> 8);
        at += match;
        literalsFrom = at;
    }
    FlushLiterals(bytes, literalsFrom, bytes.size(), out);
    return out;
}

std::string LinkCodec::Unpack(const std::string& packed)
{
    std::size_t at = 0;
    std::size_t length = 0;
    for (int shift = 0;; shift += 7)
    {
        if (at == packed.size() || shift > 21)
        {
            Broken("its length is unreadable");
        }
        const auto byte = static_cast<std::uint8_t>(packed[at++]);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
        {
            break;
        }
    }
    if (length > mMaxUnpacked)
    {
        throw std::runtime_error(TooLarge());
    }
    std::string out;
    out.reserve(length);
    while (at < packed.size())
    {
        const auto token = static_cast<std::uint8_t>(packed[at++]);
        if (token < 0x80)
        {
            const std::size_t run = token + 1u;
            if (packed.size() - at < run || out.size() + run > length)
            {
                Broken("a run of bytes is cut short");
            }
            out.append(packed, at, run);
            at += run;
            continue;
        }
        if (packed.size() - at < 2)
        {
            Broken("a copy is cut short");
        }
        const std::size_t count = (token & 0x7Fu) + kMinMatch;
        const std::size_t distance =
            (static_cast<std::uint8_t>(packed[at]) |
             (static_cast<std::size_t>(static_cast<std::uint8_t>(packed[at + 1])) << 8)) +
            1;
        at += 2;
        if (distance > out.size() || out.size() + count > length)
        {
            Broken("a copy reaches outside the level");
        }
        // Byte by byte: a copy may overlap what it writes.
        const std::size_t from = out.size() - distance;
        for (std::size_t i = 0; i < count; ++i)
        {
            out += out[from + i];
        }
    }
    if (out.size() != length)
    {
        Broken("it is cut short");
    }
    return out;
}
