// One level: two tile layers, the entities placed in it, the camera, and the managers of its types and
// images.
#pragma once

#include "entities/Enemy.h"
#include "entities/Entity.h"
#include "entities/Item.h"
#include "graphics/ImageManager.h"
#include "world/EntityTypeManager.h"
#include "world/TileCollision.h"
#include "world/TileManager.h"

#include <SDL.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class Map
{
  public:
    Map() = default;
    ~Map();
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    // Loading (Map.cpp). The layer pictures and the placement file are read beside the description at path,
    // the type tables from "data/maps/". False when the description or the placement file cannot be opened;
    // other failures throw. A failed load leaves the map partly loaded: it must not be played.
    bool Load(const std::string& path, SDL_RendererInfo info);
    // Empties both layers and destroys every entity; size, names, camera and managers stay.
    void Clear();

    // Entity registry (MapEntities.cpp).
    // False when the file cannot be opened, or (with mLoadFailure saying so) its player start lies outside
    // the level; other entities outside the level are skipped.
    bool InitEntities(const std::string& path);
    // x and y in level pixels. Makes an Enemy, Item, Lift or Entity by the type's base type (a lift is kept
    // with the plain entities); others are ignored.
    void AddEntity(const std::string& id, EntityType* type, bool direction, double x, double y);
    // baseType "Item", "Enemy" or "Entity" (or "Lift") picks the registry; the first entity under key, or
    // null.
    Entity* GetEntity(const std::string& baseType, const std::string& key);
    // Destroys every entity under key in the chosen registry.
    void RemoveEntity(const std::string& baseType, const std::string& key);
    void ClearEntities();
    // A keycard lock opens the first closed door ("ShipDoor1") with the same id. flag has no effect.
    void Trigger(Entity* trigger, bool flag);

    // Queries (MapQueries.cpp); all need a loaded map. x and y of GetTile are tile indices; layer 0 is
    // the background, 1 the collision layer.
    void Tick();
    Tile* GetTile(int x, int y, int layer);
    // The entity's box swept from its position to (x, y), against the collision layer. Allocates nothing.
    TileCollision GetTileCollision(Entity* entity, double x, double y);
    // Clamps a camera position to the level; negative for a level smaller than the screen.
    void CheckCameraPos(int& x, int& y, const SDL_Surface* screen);
    // Centres the camera on (x, y) within the level; a level smaller than the screen is centred on it.
    void CameraCheck(double x, double y, const SDL_Surface* screen);

    // Drawing (MapRender.cpp): places the camera on (x, y), draws both layers, then every entity.
    void Render(double x, double y, SDL_Surface* screen);

    bool mPlayerDirection = true; // facing of the player at the level start, true = right
    // Left and top edge of the view in level pixels; negative when a small level is centred on the screen.
    int mCameraX = 0;
    int mCameraY = 0;
    int mTileSize = 16;
    int mTileShift = 4;     // pixel coordinate >> mTileShift = tile index
    int mWidth = 0;         // in tiles
    int mHeight = 0;        // in tiles
    int mPlayerStartX = -1; // in tiles; -1 while no player was placed
    int mPlayerStartY = -1;
    int mOxygenTanksTotal = 0;
    bool mHasVents = false; // an air vent lies in the collision layer
    int mOxygenTanksLeft = 0;
    std::string mTileTypesFile;
    std::string mEntityTypesFile;
    // The level's own files, named as its description names them: beside the description.
    std::string mEntitiesFile;
    std::string mBackgroundLayerName;
    std::string mCollisionLayerName;
    // The tune the level names in a "music <name>" line of its description; empty for the usual one.
    std::string mMusic;
    // One tile key per cell, row after row: cell (x, y) at y * mWidth + x.
    std::vector<std::string> mBackgroundLayer;
    std::vector<std::string> mCollisionLayer;
    // Keyed by type name; equal keys keep insertion order. Drawing and simulation follow this order.
    std::multimap<std::string, std::unique_ptr<Entity>> mEntities;
    std::multimap<std::string, std::unique_ptr<Enemy>> mEnemies;
    std::multimap<std::string, std::unique_ptr<Item>> mItems;
    std::unique_ptr<TileManager> mTileManager;
    std::unique_ptr<ImageManager> mImageManager;
    std::unique_ptr<EntityTypeManager> mEntityTypeManager;
    // Why the last Load returned false, for the modder who made the level ("" after a true result).
    std::string mLoadFailure;

  private:
    // Fills one layer from a loaded layer image over mWidth x mHeight, registering tiles and images.
    void ReadLayer(SDL_Surface* image, std::vector<std::string>& layer, SDL_RendererInfo info);
    // A level smaller than the screen on an axis gets a negative camera that centres it.
    void CentreSmallLevel(int& x, int& y, const SDL_Surface* screen) const;
    void DrawLayer(const std::vector<std::string>& layer, SDL_Surface* screen);
    void DrawEntity(Entity* entity, Image* sprites, bool mirrorLeft, SDL_Surface* screen);
};
