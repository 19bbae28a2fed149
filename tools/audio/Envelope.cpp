// The loudness (or filter) shape of one note: attack, decay to a sustain level, release at the end.
#include "Envelope.h"

#include <algorithm>
#include <cmath>

namespace
{
// A falling curve from 1 at x = 0 to exactly 0 at x = 1, steep at first like a natural decay.
double Fall(double x)
{
    static const double floor = std::exp(-4.0);
    return (std::exp(-4.0 * x) - floor) / (1.0 - floor);
}
} // namespace

Envelope::Envelope(double attack, double decay, double sustain, double release)
    : mAttack(std::max(attack, 0.0015)), mDecay(std::max(decay, 0.001)),
      mSustain(std::clamp(sustain, 0.0, 1.0)), mRelease(std::max(release, 0.004))
{
}

double Envelope::Held(double time) const
{
    if (time < mAttack)
    {
        return time / mAttack;
    }
    time -= mAttack;
    if (time < mDecay)
    {
        return mSustain + (1.0 - mSustain) * Fall(time / mDecay);
    }
    return mSustain;
}

double Envelope::Level(double time, double gate) const
{
    if (time < 0.0)
    {
        return 0.0;
    }
    if (time < gate)
    {
        return Held(time);
    }
    const double after = time - gate;
    if (after >= mRelease)
    {
        return 0.0;
    }
    return Held(gate) * Fall(after / mRelease);
}
