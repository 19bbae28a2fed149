// A stereo hall reverb: parallel damped echo loops, then diffusing all-pass stages.
#pragma once

#include <vector>

class Reverb
{
  public:
    // size 0..1 sets how long the hall rings; damping 0..1 how fast its high end dies.
    Reverb(double size, double damping);

    // Adds the reverberation of the mono send to left and right (all three the same length).
    void Process(const std::vector<float>& send, std::vector<float>& left, std::vector<float>& right);

  private:
    struct Loop
    {
        std::vector<double> line;
        std::size_t at = 0;
        double low = 0.0;
    };
    struct Diffuser
    {
        std::vector<double> line;
        std::size_t at = 0;
    };
    double RunChannel(std::vector<Loop>& loops, std::vector<Diffuser>& diffusers, double input);

    double mFeedback;
    double mDamping;
    std::vector<Loop> mLeftLoops, mRightLoops;
    std::vector<Diffuser> mLeftDiffusers, mRightDiffusers;
};
