// Loads a level as the play screen does, checks what a loaded level promises, then plays and draws it.
#include "LevelChecks.h"

#include "FuzzSupport.h"
#include "world/Map.h"

#include <stdexcept>
#include <vector>

namespace fuzz
{
void LoadAndExercise(const std::string& path)
{
    Work();
    const SDL_RendererInfo info = test::ArgbRendererInfo();
    Map map;
    bool loaded = false;
    try
    {
        loaded = map.Load(path, info);
    }
    catch (const std::runtime_error&)
    {
        return; // reported with its own message: a defined outcome
    }
    if (!loaded)
    {
        return;
    }

    const std::size_t cells = static_cast<std::size_t>(map.mWidth) * static_cast<std::size_t>(map.mHeight);
    if (map.mWidth < 1 || map.mHeight < 1 || map.mBackgroundLayer.size() != cells ||
        map.mCollisionLayer.size() != cells)
    {
        Fail("layers do not match the level size");
    }
    for (const std::vector<std::string>* layer : {&map.mBackgroundLayer, &map.mCollisionLayer})
    {
        for (const std::string& key : *layer)
        {
            Tile* tile = map.mTileManager->GetTile(key);
            if (tile == nullptr || tile->mTileType == nullptr)
            {
                Fail("cell without a tile: " + key);
            }
        }
    }
    if (map.mOxygenTanksLeft != static_cast<int>(map.mItems.count("OxygenTank")) ||
        map.mOxygenTanksTotal != map.mOxygenTanksLeft)
    {
        Fail("oxygen tank count does not match the placed tanks");
    }

    // Play it a little: the pictures play adds, updates, doors, box tests and drawing around the level.
    map.mImageManager->AddImage("tiles", "tiles", info, true);
    map.mImageManager->AddImage("sprites", "sprites", info, true);
    test::SurfacePtr screen = test::MakeSurface(320, 240, 4);
    for (int i = 0; i < 3; ++i)
    {
        map.Tick();
    }
    std::vector<Entity*> items;
    for (auto& entry : map.mItems)
    {
        items.push_back(entry.second.get());
    }
    for (Entity* item : items)
    {
        map.Trigger(item, true);
    }
    for (auto& entry : map.mEnemies)
    {
        Entity* enemy = entry.second.get();
        map.GetTileCollision(enemy, enemy->GetX() + 20.0, enemy->GetY() + 20.0);
        map.GetTileCollision(enemy, enemy->GetX() - 20.0, enemy->GetY() - 20.0);
    }
    const double right = static_cast<double>(map.mWidth) * map.mTileSize;
    const double bottom = static_cast<double>(map.mHeight) * map.mTileSize;
    map.Render(0.0, 0.0, screen.get());
    map.Render(right, bottom, screen.get());
    map.Render(map.mPlayerStartX * 16.0, map.mPlayerStartY * 16.0, screen.get());
    map.GetTile(0, 0, 0);
    map.GetTile(map.mWidth - 1, map.mHeight - 1, 1);
    map.GetTile(-1, map.mHeight, 1);
    map.RemoveEntity("Enemy", "Blob1");
    map.RemoveEntity("Item", "OxygenTank");
}
} // namespace fuzz
