// A resonant state-variable filter whose cutoff may change every sample (sweeps, envelopes).
#include "Filter.h"

#include "Oscillator.h"

#include <algorithm>
#include <cmath>

Filter::Filter(FilterType type, double resonance) : mType(type), mDamping(1.0 / std::max(resonance, 0.3)) {}

void Filter::SetCutoff(double cutoff)
{
    cutoff = std::clamp(cutoff, 20.0, std::min(20000.0, Oscillator::mSampleRate * 0.45));
    // Recomputing the tangent only for real changes keeps swept filters cheap.
    if (std::fabs(cutoff - mCutoff) < mCutoff * 0.002)
    {
        return;
    }
    mCutoff = cutoff;
    mG = std::tan(3.14159265358979323846 * cutoff / Oscillator::mSampleRate);
    mA1 = 1.0 / (1.0 + mG * (mG + mDamping));
    mA2 = mG * mA1;
    mA3 = mG * mA2;
}

double Filter::Process(double input, double cutoff)
{
    if (mType == FilterType::None)
    {
        return input;
    }
    SetCutoff(cutoff);
    // Trapezoidal integrators: stable at any cutoff and free of the old digital filter's detuning.
    const double v3 = input - mState2;
    const double band = mA1 * mState1 + mA2 * v3;
    const double low = mState2 + mA2 * mState1 + mA3 * v3;
    mState1 = 2.0 * band - mState1;
    mState2 = 2.0 * low - mState2;
    switch (mType)
    {
    case FilterType::Lowpass:
        return low;
    case FilterType::Highpass:
        return input - mDamping * band - low;
    case FilterType::Bandpass:
        return band * mDamping; // unity gain at the centre
    case FilterType::None:
        break;
    }
    return input;
}

bool Filter::Parse(const std::string& name, FilterType& type)
{
    if (name == "none" || name == "lowpass" || name == "highpass" || name == "bandpass")
    {
        type = name == "none"       ? FilterType::None
               : name == "lowpass"  ? FilterType::Lowpass
               : name == "highpass" ? FilterType::Highpass
                                    : FilterType::Bandpass;
        return true;
    }
    return false;
}
