// A small seeded noise source, so every build renders the same hiss.
#pragma once

#include <cstdint>

class Noise
{
  public:
    explicit Noise(std::uint32_t seed) : mState(seed != 0 ? seed : 0x9E3779B9u) {}

    // Uniform in -1..1.
    double Next()
    {
        // xorshift32: fast, and the same sequence on every machine.
        mState ^= mState << 13;
        mState ^= mState >> 17;
        mState ^= mState << 5;
        return static_cast<double>(mState) / 2147483648.0 - 1.0;
    }

  private:
    std::uint32_t mState;
};
