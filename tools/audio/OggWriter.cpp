// Encodes stereo samples as an Ogg Vorbis file, byte for byte the same on every run.
#include "OggWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace
{
// A fixed stream number instead of a random one keeps two builds identical.
const int mSerialNumber = 0x4B455356;

// Owns libvorbis's encoder state for one file.
class Encoder
{
  public:
    Encoder(int rate, float quality)
    {
        vorbis_info_init(&mInfo);
        if (vorbis_encode_init_vbr(&mInfo, 2, rate, quality) != 0)
        {
            vorbis_info_clear(&mInfo);
            throw std::runtime_error("The Vorbis encoder refused its settings");
        }
        vorbis_comment_init(&mComment);
        vorbis_analysis_init(&mState, &mInfo);
        vorbis_block_init(&mState, &mBlock);
        ogg_stream_init(&mStream, mSerialNumber);
    }
    ~Encoder()
    {
        ogg_stream_clear(&mStream);
        vorbis_block_clear(&mBlock);
        vorbis_dsp_clear(&mState);
        vorbis_comment_clear(&mComment);
        vorbis_info_clear(&mInfo);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    void Encode(std::ofstream& out, const std::vector<float>& left, const std::vector<float>& right,
                const std::string& title)
    {
        if (!title.empty())
        {
            vorbis_comment_add_tag(&mComment, "TITLE", title.c_str());
        }
        ogg_packet identity, comments, codebooks;
        vorbis_analysis_headerout(&mState, &mComment, &identity, &comments, &codebooks);
        ogg_stream_packetin(&mStream, &identity);
        ogg_stream_packetin(&mStream, &comments);
        ogg_stream_packetin(&mStream, &codebooks);
        // The headers stand on pages of their own, as players expect.
        while (ogg_stream_flush(&mStream, &mPage) != 0)
        {
            WritePage(out);
        }

        const std::size_t block = 1024;
        for (std::size_t at = 0; at < left.size(); at += block)
        {
            const std::size_t count = std::min(block, left.size() - at);
            float** buffer = vorbis_analysis_buffer(&mState, static_cast<int>(count));
            std::copy(left.begin() + at, left.begin() + at + count, buffer[0]);
            std::copy(right.begin() + at, right.begin() + at + count, buffer[1]);
            vorbis_analysis_wrote(&mState, static_cast<int>(count));
            Drain(out);
        }
        // Telling the encoder the end has come marks the last page with the exact sample count.
        vorbis_analysis_wrote(&mState, 0);
        Drain(out);
    }

  private:
    void Drain(std::ofstream& out)
    {
        while (vorbis_analysis_blockout(&mState, &mBlock) == 1)
        {
            vorbis_analysis(&mBlock, nullptr);
            vorbis_bitrate_addblock(&mBlock);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&mState, &packet) != 0)
            {
                ogg_stream_packetin(&mStream, &packet);
                while (ogg_stream_pageout(&mStream, &mPage) != 0)
                {
                    WritePage(out);
                }
            }
        }
        if (mStream.e_o_s != 0)
        {
            while (ogg_stream_flush(&mStream, &mPage) != 0)
            {
                WritePage(out);
            }
        }
    }

    void WritePage(std::ofstream& out)
    {
        out.write(reinterpret_cast<const char*>(mPage.header), mPage.header_len);
        out.write(reinterpret_cast<const char*>(mPage.body), mPage.body_len);
    }

    vorbis_info mInfo;
    vorbis_comment mComment;
    vorbis_dsp_state mState;
    vorbis_block mBlock;
    ogg_stream_state mStream;
    ogg_page mPage;
};
} // namespace

void OggWriter::Write(const std::string& path, const std::vector<float>& left,
                      const std::vector<float>& right, int rate, const std::string& title, float quality)
{
    if (left.size() != right.size())
    {
        throw std::runtime_error("Both channels must hold the same number of samples");
    }
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out)
        {
            throw std::runtime_error("Cannot write " + path);
        }
        Encoder encoder(rate, quality);
        encoder.Encode(out, left, right, title);
        if (!out.flush())
        {
            std::remove(partial.c_str());
            throw std::runtime_error("Cannot write " + path);
        }
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0)
    {
        std::remove(partial.c_str());
        throw std::runtime_error("Cannot write " + path);
    }
}
