// One band-limited oscillator: sine, triangle, saw, square (pulse), white noise or stepped noise.
#pragma once

#include "Noise.h"

#include <cstdint>
#include <string>

enum class Waveform
{
    Sine,
    Triangle,
    Saw,
    Square,
    Noise, // white
    Crush  // noise held for one period of the frequency: a gritty, pitched hiss
};

class Oscillator
{
  public:
    static constexpr double mSampleRate = 44100.0;

    // phase is where the cycle starts, 0..1; seed feeds the noise waveforms.
    Oscillator(Waveform wave, std::uint32_t seed, double phase = 0.0);

    // One sample in about -1..1 at frequency Hz; duty is the high share of the square's period.
    double Next(double frequency, double duty = 0.5);

    // The waveform of a name ("sine", "triangle", "saw", "square", "noise", "crush"); false if unknown.
    static bool Parse(const std::string& name, Waveform& wave);

  private:
    Waveform mWave;
    double mPhase;
    double mHeld;
    Noise mNoise;
};
