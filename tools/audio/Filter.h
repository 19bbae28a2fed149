// A resonant state-variable filter whose cutoff may change every sample (sweeps, envelopes).
#pragma once

#include <string>

enum class FilterType
{
    None,
    Lowpass,
    Highpass,
    Bandpass
};

class Filter
{
  public:
    // resonance is the filter's Q: 0.707 is flat, higher rings at the cutoff.
    Filter(FilterType type, double resonance);

    // Filters one sample with the cutoff in Hz (held inside 20 Hz .. 20 kHz).
    double Process(double input, double cutoff);

    // The type of a name ("none", "lowpass", "highpass", "bandpass"); false if unknown.
    static bool Parse(const std::string& name, FilterType& type);

  private:
    void SetCutoff(double cutoff);

    FilterType mType;
    double mDamping;
    double mCutoff = -1.0;
    double mA1 = 0.0, mA2 = 0.0, mA3 = 0.0, mG = 0.0;
    double mState1 = 0.0, mState2 = 0.0;
};
