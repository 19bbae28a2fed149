// A stereo hall reverb: parallel damped echo loops, then diffusing all-pass stages.
#include "Reverb.h"

#include <algorithm>

namespace
{
// Loop and diffuser lengths in samples, mutually prime so their echoes do not pile up on a beat.
const std::size_t mLoopLengths[] = {1103, 1171, 1249, 1327, 1399, 1453, 1531, 1601};
const std::size_t mDiffuserLengths[] = {563, 439, 349, 227};
// The right channel's lines are a little longer, which spreads the sound across the stereo field.
const std::size_t mRightSpread = 29;
} // namespace

Reverb::Reverb(double size, double damping)
    : mFeedback(0.7 + 0.28 * std::clamp(size, 0.0, 1.0)), mDamping(std::clamp(damping, 0.0, 0.95))
{
    for (std::size_t length : mLoopLengths)
    {
        mLeftLoops.push_back({std::vector<double>(length, 0.0)});
        mRightLoops.push_back({std::vector<double>(length + mRightSpread, 0.0)});
    }
    for (std::size_t length : mDiffuserLengths)
    {
        mLeftDiffusers.push_back({std::vector<double>(length, 0.0)});
        mRightDiffusers.push_back({std::vector<double>(length + mRightSpread, 0.0)});
    }
}

double Reverb::RunChannel(std::vector<Loop>& loops, std::vector<Diffuser>& diffusers, double input)
{
    double sum = 0.0;
    for (Loop& loop : loops)
    {
        const double out = loop.line[loop.at];
        loop.low = out * (1.0 - mDamping) + loop.low * mDamping;
        loop.line[loop.at] = input + loop.low * mFeedback;
        loop.at = loop.at + 1 == loop.line.size() ? 0 : loop.at + 1;
        sum += out;
    }
    for (Diffuser& diffuser : diffusers)
    {
        const double delayed = diffuser.line[diffuser.at];
        diffuser.line[diffuser.at] = sum + delayed * 0.5;
        diffuser.at = diffuser.at + 1 == diffuser.line.size() ? 0 : diffuser.at + 1;
        sum = delayed - sum;
    }
    return sum;
}

void Reverb::Process(const std::vector<float>& send, std::vector<float>& left, std::vector<float>& right)
{
    // Scaled so a steady send comes out at about its own level.
    const double inputGain = 0.015;
    for (std::size_t i = 0; i < send.size(); ++i)
    {
        const double input = send[i] * inputGain;
        left[i] += static_cast<float>(RunChannel(mLeftLoops, mLeftDiffusers, input));
        right[i] += static_cast<float>(RunChannel(mRightLoops, mRightDiffusers, input));
    }
}
