// The window's own settings, kept in the player file "kesv.window" apart from kesv.cfg: the size the
// window opens at and how the picture is scaled to it.
#pragma once

#include "graphics/Scaling.h"

#include <cstdint>
#include <string>

class WindowSettings
{
  public:
    static constexpr const char* mFileName = "kesv.window";
    // Far more than the file takes: a larger one (or one that is no regular file) is not read.
    static constexpr std::uintmax_t mMaxFileSize = 1 << 20;

    // Reads the file; a missing or garbled file, or a garbled value, leaves the defaults. Never throws.
    void Load();
    // Writes the file when it differs from what was last read or written; false when it cannot be written.
    bool SaveChanged();

    // In window pixels; 0 while no size has been kept (the first window then fits the desktop).
    int mWidth = 0;
    int mHeight = 0;
    Scaling::Mode mScaling = Scaling::mDefault;

  private:
    std::string Text() const;
    std::string mWritten;
};
