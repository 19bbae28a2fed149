// The tiles and entity types a level may use, read from the game's own type tables, in their files' order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class EditorCatalogue
{
  public:
    struct TileEntry
    {
        std::uint32_t mColor = 0; // 0xRRGGBB, the colour a layer picture holds
        int mSourceX = 0;         // picture in tiles.png, pixels
        int mSourceY = 0;
        bool mDrawn = true; // image "0" is never drawn
        bool mBlocking = false;
        bool mHarmful = false;
    };
    struct EntityEntry
    {
        std::string mName;
        std::string mBaseType; // "Player", "Enemy", "Item" or "Entity"
        int mSourceX = 0;      // first picture in sprites.png, pixels
        int mSourceY = 0;
    };

    // Reads "tiletypes.cfg" and "entitytypes.cfg" from the folder; throws when either cannot be opened.
    void Load(const std::string& folder);

    const std::vector<TileEntry>& Tiles() const { return mTiles; }
    // Only the types a placement line can place (not the shot).
    const std::vector<EntityEntry>& Entities() const { return mEntities; }
    const TileEntry* FindTile(std::uint32_t color) const;
    const EntityEntry* FindEntity(const std::string& name) const;
    // The base type of a placeable entity type, or "" for a name the game would skip.
    std::string BaseOf(const std::string& name) const;

  private:
    std::vector<TileEntry> mTiles;
    std::vector<EntityEntry> mEntities;
};
