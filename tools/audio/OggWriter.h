// Encodes stereo samples as an Ogg Vorbis file, byte for byte the same on every run.
#pragma once

#include <string>
#include <vector>

namespace OggWriter
{
// left and right hold the same number of samples in -1..1 at rate Hz; quality is Vorbis's -0.1..1 scale.
// Writes next to path first and renames, so a failed run leaves no half file. Throws std::runtime_error.
void Write(const std::string& path, const std::vector<float>& left, const std::vector<float>& right, int rate,
           const std::string& title, float quality);
} // namespace OggWriter
