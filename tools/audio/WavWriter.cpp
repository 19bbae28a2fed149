// Writes sound as a 16-bit PCM WAV file (mono or interleaved stereo).
#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace
{
void PutLittle(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
    {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}
} // namespace

void WavWriter::Write(const std::string& path, const std::vector<float>& samples, int channels, int rate)
{
    // Written next to path and renamed at the end, so a failed run leaves no half file behind.
    const std::string partial = path + ".part";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out)
    {
        throw std::runtime_error("Cannot write " + path);
    }
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    PutLittle(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLittle(out, 16, 4); // size of the format block
    PutLittle(out, 1, 2);  // integer PCM
    PutLittle(out, channels, 2);
    PutLittle(out, rate, 4);
    PutLittle(out, rate * channels * 2, 4); // bytes per second
    PutLittle(out, channels * 2, 2);        // bytes per frame
    PutLittle(out, 16, 2);                  // bits per sample
    out.write("data", 4);
    PutLittle(out, dataBytes, 4);
    for (float sample : samples)
    {
        const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
        PutLittle(out, static_cast<std::uint32_t>(static_cast<std::int16_t>(value)) & 0xFFFF, 2);
    }
    out.close();
    if (!out || std::rename(partial.c_str(), path.c_str()) != 0)
    {
        std::remove(partial.c_str());
        throw std::runtime_error("Cannot write " + path);
    }
}
