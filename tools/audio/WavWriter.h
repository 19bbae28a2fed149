// Writes sound as a 16-bit PCM WAV file (mono or interleaved stereo).
#pragma once

#include <string>
#include <vector>

namespace WavWriter
{
// Samples in -1..1 (values beyond are clipped); channels is 1 or 2. Throws std::runtime_error on failure.
void Write(const std::string& path, const std::vector<float>& samples, int channels, int rate);
} // namespace WavWriter
