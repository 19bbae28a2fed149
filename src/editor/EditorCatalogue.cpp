// Reading the tile and entity type tables for the editor's palettes and checks, by the game's line rules.
#include "editor/EditorCatalogue.h"

#include "graphics/Utils.h"
#include "io/FieldReader.h"
#include "world/EntityType.h"

#include <stdexcept>

namespace
{
constexpr int kTileSize = 16;
}

void EditorCatalogue::Load(const std::string& folder)
{
    mTiles.clear();
    mEntities.clear();
    FieldReader tiles(folder + "tiletypes.cfg");
    if (!tiles.IsOpen())
    {
        throw std::runtime_error("Unable to initialize tile types: " + folder + "tiletypes.cfg");
    }
    std::vector<std::string> fields;
    while (tiles.NextLine(fields))
    {
        if (fields.size() < 8)
        {
            continue;
        }
        TileEntry entry;
        entry.mColor = Utils::ConvertString<unsigned>(fields[0], true) & 0xFFFFFF;
        // The first definition of a colour is the one the game keeps.
        if (FindTile(entry.mColor) != nullptr)
        {
            continue;
        }
        entry.mDrawn = fields[1] != "0";
        entry.mSourceX = Utils::ConvertString<int>(fields[2], false) * kTileSize;
        entry.mSourceY = Utils::ConvertString<int>(fields[3], false) * kTileSize;
        entry.mBlocking = Utils::ConvertString<bool>(fields[6], false);
        entry.mHarmful = Utils::ConvertString<bool>(fields[7], false);
        mTiles.push_back(entry);
    }

    FieldReader entities(folder + "entitytypes.cfg");
    if (!entities.IsOpen())
    {
        throw std::runtime_error("Unable to initialize entity types: " + folder + "entitytypes.cfg");
    }
    while (entities.NextLine(fields))
    {
        if (fields.size() < 8 || FindEntity(fields[1]) != nullptr)
        {
            continue;
        }
        const std::string& base = fields[0];
        if (base != EntityType::mBasePlayer && base != EntityType::mBaseEnemy &&
            base != EntityType::mBaseItem && base != EntityType::mBaseEntity && base != EntityType::mBaseLift)
        {
            continue;
        }
        EntityEntry entry;
        entry.mName = fields[1];
        entry.mBaseType = base;
        entry.mSourceX = Utils::ConvertString<int>(fields[2], false) * kTileSize;
        entry.mSourceY = Utils::ConvertString<int>(fields[3], false) * kTileSize;
        mEntities.push_back(entry);
    }
}

const EditorCatalogue::TileEntry* EditorCatalogue::FindTile(std::uint32_t color) const
{
    for (const TileEntry& entry : mTiles)
    {
        if (entry.mColor == color)
        {
            return &entry;
        }
    }
    return nullptr;
}

const EditorCatalogue::EntityEntry* EditorCatalogue::FindEntity(const std::string& name) const
{
    for (const EntityEntry& entry : mEntities)
    {
        if (entry.mName == name)
        {
            return &entry;
        }
    }
    return nullptr;
}

std::string EditorCatalogue::BaseOf(const std::string& name) const
{
    const EntityEntry* entry = FindEntity(name);
    return entry == nullptr ? std::string() : entry->mBaseType;
}
