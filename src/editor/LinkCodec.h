// The small compressor of level links: runs of literal bytes and copies of earlier bytes, preceded by the
// unpacked length. Unpacking is bounded and checks every count against what is there.
#pragma once

#include <cstddef>
#include <string>

class LinkCodec
{
  public:
    LinkCodec() = delete;

    // A link never unpacks to more than this, and nothing larger is packed: room for a level of 256x256
    // cells of 64 kinds of tile a layer (about 130 KiB), with hundreds of kilobytes to spare for its entities
    // and words.
    static constexpr std::size_t mMaxUnpacked = 512 * 1024;
    // The most a packing of mMaxUnpacked bytes can take: incompressible bytes cost one more byte each run.
    static constexpr std::size_t mMaxPacked = 4 + mMaxUnpacked + mMaxUnpacked / 128 + 1;

    // Throws std::runtime_error for more than mMaxUnpacked bytes.
    static std::string Pack(const std::string& bytes);
    // Throws std::runtime_error for packed bytes that are cut short, point outside what came before, or
    // unpack to more than mMaxUnpacked.
    static std::string Unpack(const std::string& packed);
};
