// Where the 320x240 picture lands on an output of any size, for each of the player's scaling choices.
#pragma once

#include <SDL_rect.h>

#include <string>

class Scaling
{
  public:
    enum class Mode
    {
        Sharp,  // the largest whole-number multiple that fits, centred in black
        Fit,    // the largest 4:3 picture that fits, centred in black
        Stretch // the whole output, whatever its shape
    };
    static constexpr Mode mDefault = Mode::Fit;
    static constexpr int mPictureWidth = 320;
    static constexpr int mPictureHeight = 240;

    Scaling() = delete;

    // The picture's rectangle on an output of this size, in the output's pixels.
    static SDL_Rect PictureRect(int outputWidth, int outputHeight, Mode mode);
    // The first window's size: the largest whole multiple of the picture that fits the desktop's free
    // area with room for the window's frame, and never smaller than 640x480.
    static SDL_Point FirstWindowSize(int usableWidth, int usableHeight);

    // The choice as the Options screen shows it and the window file keeps it: "Sharp", "Fit" or "Stretch".
    static const char* Name(Mode mode);
    // The choice a name stands for; false (mode untouched) for any other text.
    static bool FromName(const std::string& name, Mode& mode);
    // The choice after this one, round from the last to the first.
    static Mode Next(Mode mode);
};
