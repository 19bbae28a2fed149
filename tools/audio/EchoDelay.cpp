// A stereo echo that bounces between the left and right side, each repeat darker than the last.
#include "EchoDelay.h"

#include <algorithm>

EchoDelay::EchoDelay(std::size_t delay, double feedback, double damping)
    : mLeft(std::max<std::size_t>(delay, 1), 0.0), mRight(std::max<std::size_t>(delay, 1), 0.0),
      mFeedback(std::clamp(feedback, 0.0, 0.95)), mDamping(std::clamp(damping, 0.0, 0.95))
{
}

void EchoDelay::Process(const std::vector<float>& sendLeft, const std::vector<float>& sendRight,
                        std::vector<float>& left, std::vector<float>& right)
{
    for (std::size_t i = 0; i < sendLeft.size(); ++i)
    {
        const double outLeft = mLeft[mAt];
        const double outRight = mRight[mAt];
        mLowLeft = outLeft * (1.0 - mDamping) + mLowLeft * mDamping;
        mLowRight = outRight * (1.0 - mDamping) + mLowRight * mDamping;
        // The send enters on the left only; the repeats then cross sides each time.
        mLeft[mAt] = 0.5 * (sendLeft[i] + sendRight[i]) + mLowRight * mFeedback;
        mRight[mAt] = mLowLeft * mFeedback;
        mAt = mAt + 1 == mLeft.size() ? 0 : mAt + 1;
        left[i] += static_cast<float>(outLeft);
        right[i] += static_cast<float>(outRight);
    }
}
