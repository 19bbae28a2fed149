// The small compressor of level links: runs of literal bytes and copies of earlier bytes, preceded by the
// unpacked length. Unpacking is bounded and checks every count against what is there.
#pragma once

#include <cstddef>
#include <string>

class LinkCodec
{
  public:
    LinkCodec() = delete;

    // A link never unpacks to more than this.
    static constexpr std::size_t mMaxUnpacked = 64 * 1024;

    static std::string Pack(const std::string& bytes);
    // Throws std::runtime_error for packed bytes that are cut short, point outside what came before, or
    // unpack to more than mMaxUnpacked.
    static std::string Unpack(const std::string& packed);
};
