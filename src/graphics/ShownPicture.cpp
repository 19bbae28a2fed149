#include "graphics/ShownPicture.h"

#include <cstring>

bool ShownPicture::Take(const SDL_Surface& picture, const SDL_Rect& where)
{
    const auto row = static_cast<std::size_t>(picture.w) * picture.format->BytesPerPixel;
    const auto size = row * static_cast<std::size_t>(picture.h);
    const auto* pixels = static_cast<const Uint8*>(picture.pixels);
    bool same = mPixels.size() == size && SDL_RectEquals(&mWhere, &where);
    for (int y = 0; same && y < picture.h; ++y)
    {
        same = std::memcmp(mPixels.data() + row * y, pixels + static_cast<std::size_t>(picture.pitch) * y,
                           row) == 0;
    }
    if (same)
    {
        return false;
    }
    mPixels.resize(size);
    for (int y = 0; y < picture.h; ++y)
    {
        std::memcpy(mPixels.data() + row * y, pixels + static_cast<std::size_t>(picture.pitch) * y, row);
    }
    mWhere = where;
    return true;
}
