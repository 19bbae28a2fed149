// A stereo echo that bounces between the left and right side, each repeat darker than the last.
#pragma once

#include <cstddef>
#include <vector>

class EchoDelay
{
  public:
    // delay in samples; feedback 0..0.95 is the level of each repeat; damping 0..1 how much treble it loses.
    EchoDelay(std::size_t delay, double feedback, double damping);

    // Adds the echoes of the stereo send to left and right (all four the same length).
    void Process(const std::vector<float>& sendLeft, const std::vector<float>& sendRight,
                 std::vector<float>& left, std::vector<float>& right);

  private:
    std::vector<double> mLeft, mRight;
    std::size_t mAt = 0;
    double mFeedback;
    double mDamping;
    double mLowLeft = 0.0, mLowRight = 0.0;
};
