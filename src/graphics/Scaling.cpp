// The scaling rule: a pure function of the output's size and the player's choice.
#include "graphics/Scaling.h"

#include "io/Translation.h"

#include <algorithm>
#include <iterator>

namespace
{
constexpr int kSmallestWindowScale = 2; // 640x480, the size the game was drawn for
// The title bar and borders a window manager adds around the window.
constexpr int kFrameAllowance = 48;
// The choices' names, in the order of Scaling::Mode.
// TRANSLATORS: the ways the picture fills the window, shown after "Scaling: " on the Options screen.
const char* const kNames[] = {TrNoop("Sharp"), TrNoop("Fit"), TrNoop("Stretch")};

// The largest whole multiple of the picture within this size (0 when not even one fits).
int WholeScale(int width, int height)
{
    return std::min(width / Scaling::mPictureWidth, height / Scaling::mPictureHeight);
}

SDL_Rect Centred(int outputWidth, int outputHeight, int width, int height)
{
    return {(outputWidth - width) / 2, (outputHeight - height) / 2, width, height};
}
} // namespace

SDL_Rect Scaling::PictureRect(int outputWidth, int outputHeight, Mode mode)
{
    if (mode == Mode::Stretch)
    {
        return {0, 0, outputWidth, outputHeight};
    }
    // The largest 4:3 picture: the output's width decides on a tall output, its height on a wide one.
    int fitWidth = outputWidth;
    int fitHeight = outputWidth * mPictureHeight / mPictureWidth;
    if (fitHeight > outputHeight)
    {
        fitHeight = outputHeight;
        fitWidth = outputHeight * mPictureWidth / mPictureHeight;
    }
    const int scale = WholeScale(outputWidth, outputHeight);
    // Fit takes the whole multiple too when it gives up less than a tenth of the size: every pixel row
    // then comes out the same height, for a sliver of black.
    const bool sharp = mode == Mode::Sharp || scale * mPictureHeight * 10 >= fitHeight * 9;
    if (scale >= 1 && sharp)
    {
        return Centred(outputWidth, outputHeight, scale * mPictureWidth, scale * mPictureHeight);
    }
    // An output smaller than the picture itself gets the largest 4:3 picture even when Sharp is chosen.
    return Centred(outputWidth, outputHeight, fitWidth, fitHeight);
}

SDL_Point Scaling::FirstWindowSize(int usableWidth, int usableHeight)
{
    const int scale = std::max(kSmallestWindowScale, WholeScale(usableWidth, usableHeight - kFrameAllowance));
    return {scale * mPictureWidth, scale * mPictureHeight};
}

const char* Scaling::Name(Mode mode)
{
    return kNames[static_cast<int>(mode)];
}

bool Scaling::FromName(const std::string& name, Mode& mode)
{
    const auto found = std::find(std::begin(kNames), std::end(kNames), name);
    if (found == std::end(kNames))
    {
        return false;
    }
    mode = static_cast<Mode>(found - std::begin(kNames));
    return true;
}

Scaling::Mode Scaling::Next(Mode mode)
{
    return static_cast<Mode>((static_cast<int>(mode) + 1) % std::size(kNames));
}
