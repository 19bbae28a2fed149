// Drawing a whole level onto one surface of its own size, through the map's real drawing.
#include "LevelPicture.h"

#include "entities/Player.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"
#include "world/Map.h"

#include <SDL_image.h>

#include <stdexcept>
#include <vector>

namespace
{
// As dense as the play screen's sky: 200 stars on 320 x 240.
constexpr long kStarsPer320x240 = 200;
} // namespace

LevelPicture::LevelPicture(Map& map, const Player& player, Uint32 pixelFormat)
    : mSurface(SDL_CreateRGBSurfaceWithFormat(0, map.mWidth * map.mTileSize, map.mHeight * map.mTileSize, 32,
                                              pixelFormat),
               SDL_FreeSurface)
{
    if (!mSurface)
        throw std::runtime_error(std::string("Unable to create level picture: ") + SDL_GetError());
    SDL_Surface* surface = mSurface.get();
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));

    // The same sky on every run, so a regenerated picture differs only where the level did.
    Utils::rand_gen.seed(1);
    std::vector<Utils::Star> stars(static_cast<std::size_t>(static_cast<long>(surface->w) * surface->h *
                                                            kStarsPer320x240 / (320L * 240L)));
    Utils::InitStars(stars, surface->w, surface->h);
    Utils::DrawStars(stars, surface);

    // Centred on a surface the size of the level, the camera stands at (0, 0) and every cell is drawn.
    map.Render(surface->w / 2.0, surface->h / 2.0, surface);

    // The player is drawn by play, not by the map: its first standing frame, facing as it starts.
    Image* sprites = map.mImageManager->GetImage("sprites");
    const EntityType* type = player.GetEntityType();
    if (sprites == nullptr || type == nullptr)
        return;
    const int x = static_cast<int>(player.GetX()) - map.mCameraX;
    const int y = static_cast<int>(player.GetY()) - map.mCameraY;
    const int sourceX = static_cast<int>(type->mSourceX);
    const int sourceY = static_cast<int>(type->mSourceY);
    if (player.GetDirection())
        sprites->Draw(surface, x, y, sourceX, sourceY, player.GetFrameWidth(), player.GetFrameHeight());
    else
        sprites->DrawFlipped(surface, x, y, sourceX, sourceY, player.GetFrameWidth(),
                             player.GetFrameHeight());
}

bool LevelPicture::Save(const std::string& path) const
{
    return IMG_SavePNG(mSurface.get(), path.c_str()) == 0;
}
