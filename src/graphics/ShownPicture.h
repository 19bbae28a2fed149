// The picture last put on an output that keeps it (the browser's 2D canvas): a frame the same as the one
// shown need not be enlarged, uploaded and shown again, so a still screen costs little more than its drawing.
#pragma once

#include <SDL.h>

#include <vector>

class ShownPicture
{
  public:
    // Keeps picture as the one shown at where on the output; false when that is already so.
    bool Take(const SDL_Surface& picture, const SDL_Rect& where);
    // The output may no longer hold it: the next frame is shown.
    void Forget() { mPixels.clear(); }

  private:
    std::vector<Uint8> mPixels; // the picture's rows without their padding
    SDL_Rect mWhere{0, 0, 0, 0};
};
