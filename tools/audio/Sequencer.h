// Plays a tune's notes through its instruments, hall and echo into one seamless loop of stereo samples.
#pragma once

#include <vector>

class Song;

namespace Sequencer
{
struct Stereo
{
    std::vector<float> left, right;
};

// Exactly TotalSteps() * SamplesPerStep() samples per side at 44100 Hz. Whatever still rings after the last
// step is folded into the start, so the end flows into the beginning when the tune repeats.
Stereo Render(const Song& song);
} // namespace Sequencer
