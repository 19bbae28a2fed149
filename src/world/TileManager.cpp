// The tile type table reader and the registry of a level's tile types and tiles.
#include "world/TileManager.h"

#include "graphics/Utils.h"
#include "io/FieldReader.h"

#include <vector>

TileManager::~TileManager()
{
    ClearTiles();
    ClearTileTypes();
}

bool TileManager::InitTileTypes(const std::string& file, unsigned scale)
{
    FieldReader reader(file);
    if (!reader.IsOpen())
    {
        return false;
    }
    std::vector<std::string> fields;
    while (reader.NextLine(fields))
    {
        if (fields.size() < 8)
        {
            continue;
        }
        // The colour is written as hex RRGGBB but kept under its decimal value, as the layers look it up.
        unsigned colour = Utils::GetColor(Utils::ConvertString<unsigned>(fields[0], true));
        std::string key = Utils::ToString(colour);
        if (mTileTypes.count(key) != 0)
        {
            continue; // the first definition stays
        }
        auto type = std::make_unique<TileType>();
        type->Init(key, fields[1], Utils::ConvertString<unsigned>(fields[2], false) * scale,
                   Utils::ConvertString<unsigned>(fields[3], false) * scale,
                   Utils::ConvertString<unsigned>(fields[4], false),
                   Utils::ConvertString<bool>(fields[5], false), Utils::ConvertString<bool>(fields[6], false),
                   Utils::ConvertString<bool>(fields[7], false));
        // An optional ninth field makes an air vent, blowing in the first or the second half of its cycle.
        const unsigned phase = fields.size() > 8 ? Utils::ConvertString<unsigned>(fields[8], false) : 0;
        if (phase == 1 || phase == 2)
        {
            type->SetVent(phase, scale);
        }
        mTileTypes.emplace(key, std::move(type));
    }
    return true;
}

TileType* TileManager::GetTileType(const std::string& key)
{
    auto found = mTileTypes.find(key);
    return found == mTileTypes.end() ? nullptr : found->second.get();
}

void TileManager::AddTile(const std::string& name, TileType* type)
{
    if (mTiles.count(name) != 0)
    {
        return;
    }
    auto tile = std::make_unique<Tile>();
    tile->Init(name, type, "");
    mTiles.emplace(name, std::move(tile));
}

Tile* TileManager::GetTile(const std::string& name)
{
    auto found = mTiles.find(name);
    return found == mTiles.end() ? nullptr : found->second.get();
}

void TileManager::RemoveTile(const std::string& name)
{
    mTiles.erase(name);
}

void TileManager::ClearTiles()
{
    mTiles.clear();
}

void TileManager::ClearTileTypes()
{
    mTileTypes.clear();
}

void TileManager::Tick()
{
    for (auto& entry : mTileTypes)
    {
        entry.second->Tick();
    }
}
