// The level's entity registries: the placement file, adding, finding and removing entities, and doors.
#include "world/Map.h"

#include "entities/Lift.h"
#include "entities/Player.h"
#include "graphics/Utils.h"
#include "io/FieldReader.h"

namespace
{
template <typename T>
Entity* FirstUnder(std::multimap<std::string, std::unique_ptr<T>>& registry, const std::string& key)
{
    // lower_bound, not find: find may return any of equal keys, lower_bound the first inserted.
    auto found = registry.lower_bound(key);
    return found == registry.end() || found->first != key ? nullptr : found->second.get();
}
} // namespace

bool Map::InitEntities(const std::string& path)
{
    FieldReader reader(path);
    if (!reader.IsOpen())
    {
        return false;
    }
    std::vector<std::string> fields;
    while (reader.NextLine(fields))
    {
        if (!mEntities.empty() && mEntities.count(Player::mTypeName) != 0)
        {
            continue;
        }
        if (fields.empty())
        {
            continue;
        }
        EntityType* type = mEntityTypeManager ? mEntityTypeManager->GetEntityType(fields[0]) : nullptr;
        if (type == nullptr)
        {
            continue;
        }
        const std::string& baseType = type->mBaseType;
        // Every position lies in the level: one far outside it would overflow the drawing's pixel sums.
        const int column = fields.size() >= 4 ? Utils::ConvertString<int>(fields[2], false) : 0;
        const int row = fields.size() >= 4 ? Utils::ConvertString<int>(fields[3], false) : 0;
        const bool inside = column >= 0 && row >= 0 && column < mWidth && row < mHeight;
        if (baseType == EntityType::mBasePlayer)
        {
            if (fields.size() < 4)
            {
                continue;
            }
            if (!inside)
            {
                mLoadFailure = "its player start " + fields[2] + "," + fields[3] + " lies outside the level";
                return false;
            }
            // The player is made by the play screen; the level only says where it starts, in tiles.
            mPlayerDirection = Utils::ConvertString<bool>(fields[1], false);
            mPlayerStartX = column;
            mPlayerStartY = row;
        }
        else if (baseType == EntityType::mBaseEnemy || baseType == EntityType::mBaseItem ||
                 baseType == EntityType::mBaseEntity || baseType == EntityType::mBaseLift)
        {
            // An entity outside the level could never be met: skipped, as a line of an unknown type is.
            if (fields.size() < 5 || !inside)
            {
                continue;
            }
            double x = static_cast<double>(column) * mTileSize;
            double y = static_cast<double>(row) * mTileSize;
            AddEntity(fields[4], type, Utils::ConvertString<bool>(fields[1], false), x, y);
            if (baseType == EntityType::mBaseItem && type->mName == "OxygenTank")
            {
                ++mOxygenTanksLeft;
            }
        }
    }
    return true;
}

void Map::AddEntity(const std::string& id, EntityType* type, bool direction, double x, double y)
{
    if (type == nullptr)
    {
        return;
    }
    if (type->mBaseType == EntityType::mBaseItem)
    {
        auto item = std::make_unique<Item>();
        item->Init(x, y, id, type);
        item->SetDirection(direction);
        mItems.emplace(type->mName, std::move(item));
    }
    else if (type->mBaseType == EntityType::mBaseEnemy)
    {
        auto enemy = std::make_unique<Enemy>();
        enemy->Init(x, y, id, type);
        enemy->SetDirection(direction);
        enemy->SetDX(direction ? enemy->GetMaxMotionSpeed() : -enemy->GetMaxMotionSpeed());
        mEnemies.emplace(type->mName, std::move(enemy));
    }
    else if (type->mBaseType == EntityType::mBaseLift)
    {
        auto lift = std::make_unique<Lift>();
        lift->Init(x, y, id, type);
        lift->SetDirection(direction);
        mEntities.emplace(type->mName, std::move(lift));
    }
    else if (type->mBaseType == EntityType::mBaseEntity)
    {
        auto entity = std::make_unique<Entity>();
        entity->Init(x, y, id, type);
        entity->SetDirection(direction);
        mEntities.emplace(type->mName, std::move(entity));
    }
}

Entity* Map::GetEntity(const std::string& baseType, const std::string& key)
{
    if (baseType == EntityType::mBaseItem)
    {
        return FirstUnder(mItems, key);
    }
    if (baseType == EntityType::mBaseEnemy)
    {
        return FirstUnder(mEnemies, key);
    }
    if (baseType == EntityType::mBaseEntity || baseType == EntityType::mBaseLift)
    {
        return FirstUnder(mEntities, key);
    }
    return nullptr;
}

void Map::RemoveEntity(const std::string& baseType, const std::string& key)
{
    if (baseType == EntityType::mBaseItem)
    {
        mItems.erase(key);
    }
    else if (baseType == EntityType::mBaseEnemy)
    {
        mEnemies.erase(key);
    }
    else if (baseType == EntityType::mBaseEntity || baseType == EntityType::mBaseLift)
    {
        mEntities.erase(key);
    }
}

void Map::ClearEntities()
{
    mEntities.clear();
    mItems.clear();
    mEnemies.clear();
}

void Map::Trigger(Entity* trigger, bool /*flag*/)
{
    if (trigger == nullptr || mEntityTypeManager == nullptr)
    {
        return;
    }
    EntityType* open = mEntityTypeManager->GetEntityType("ShipDoor2");
    if (open == nullptr)
    {
        return; // a level without an open door type keeps its doors shut
    }
    const std::string id = trigger->GetID();
    for (auto& entry : mItems)
    {
        Item* door = entry.second.get();
        if (door == trigger || door->GetID() != id || door->GetType() != "ShipDoor1")
        {
            continue;
        }
        EntityType* type = door->GetEntityType();
        if (type == nullptr || !type->mHasValue)
        {
            continue;
        }
        // The door stays registered as "ShipDoor1" but becomes an open door in every other respect:
        // it must stop blocking, or the player could never reach it to leave the level.
        door->SetEntityType(open);
        door->SetType("ShipDoor2");
        door->SetIsBlockingMotion(open->mIsBlockingMotion);
        door->SetIsAnimated(open->mIsAnimated);
        return;
    }
}
