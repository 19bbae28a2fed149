// One band-limited oscillator: sine, triangle, saw, square (pulse), white noise or stepped noise.
#include "Oscillator.h"

#include <cmath>

namespace
{
constexpr double mPi = 3.14159265358979323846;

// Smooths the jump of a saw or square edge over one sample on each side, which removes most aliasing.
double EdgeCorrection(double t, double step)
{
    if (t < step)
    {
        t /= step;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - step)
    {
        t = (t - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}
} // namespace

Oscillator::Oscillator(Waveform wave, std::uint32_t seed, double phase)
    : mWave(wave), mPhase(phase - std::floor(phase)), mHeld(0.0), mNoise(seed)
{
    if (mWave == Waveform::Crush)
    {
        mHeld = mNoise.Next();
    }
}

double Oscillator::Next(double frequency, double duty)
{
    const double step = std::fmin(std::fabs(frequency) / mSampleRate, 0.5);
    double value = 0.0;
    switch (mWave)
    {
    case Waveform::Sine:
        value = std::sin(2.0 * mPi * mPhase);
        break;
    case Waveform::Triangle:
        // Starts at zero and rising, like the sine.
        value = mPhase < 0.25 ? 4.0 * mPhase : mPhase < 0.75 ? 2.0 - 4.0 * mPhase : 4.0 * mPhase - 4.0;
        break;
    case Waveform::Saw:
        value = 2.0 * mPhase - 1.0 - EdgeCorrection(mPhase, step);
        break;
    case Waveform::Square:
    {
        duty = std::fmin(std::fmax(duty, 0.02), 0.98);
        double falling = mPhase + 1.0 - duty;
        falling -= std::floor(falling);
        value = (mPhase < duty ? 1.0 : -1.0) + EdgeCorrection(mPhase, step) - EdgeCorrection(falling, step);
        break;
    }
    case Waveform::Noise:
        value = mNoise.Next();
        break;
    case Waveform::Crush:
        value = mHeld;
        break;
    }
    mPhase += step;
    if (mPhase >= 1.0)
    {
        mPhase -= std::floor(mPhase);
        if (mWave == Waveform::Crush)
        {
            mHeld = mNoise.Next();
        }
    }
    return value;
}

bool Oscillator::Parse(const std::string& name, Waveform& wave)
{
    static const struct
    {
        const char* name;
        Waveform wave;
    } names[] = {{"sine", Waveform::Sine},     {"triangle", Waveform::Triangle}, {"saw", Waveform::Saw},
                 {"square", Waveform::Square}, {"noise", Waveform::Noise},       {"crush", Waveform::Crush}};
    for (const auto& entry : names)
    {
        if (name == entry.name)
        {
            wave = entry.wave;
            return true;
        }
    }
    return false;
}
