// Counting a level's contents and playing its recorded input through the real play screen.
#include "LevelSurvey.h"

#include "PlayDriver.h"

#include "entities/Player.h"
#include "states/PlayState.h"
#include "world/Map.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace
{
// Tiles carry no names; these are the ones the levels use. A new harmful tile shows up under its
// colour until it is named here.
std::string HazardName(const std::string& key)
{
    const unsigned colour = static_cast<unsigned>(std::stoul(key));
    switch (colour)
    {
    case 0x40FF40:
        return "acid";
    case 0x40C0FF:
        return "live deck";
    case 0xFF4040:
        return "spikes";
    default:
        break;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "%06X", colour);
    return std::string("hazard ") + hex;
}

bool IsLock(const std::string& type)
{
    return type == "KeycardLock" || type == "ShipDoor1";
}
} // namespace

LevelSurvey::LevelSurvey(const std::string& name, const Map& map)
    : mName(name), mColumns(map.mWidth), mRows(map.mHeight)
{
    for (const auto& entry : map.mEnemies)
        ++mEnemies[entry.first];
    for (const auto& entry : map.mItems)
    {
        // An open door is the level's exit, not something to count.
        if (entry.first == "ShipDoor2")
            continue;
        ++(IsLock(entry.first) ? mLocks : mItems)[entry.first];
    }
    for (const auto& entry : map.mEntities)
        ++mItems[entry.first];
    for (const std::string& key : map.mCollisionLayer)
    {
        const Tile* tile = map.mTileManager->GetTile(key);
        if (tile != nullptr && tile->mTileType != nullptr && tile->mTileType->mIsHarmful)
            ++mHazards[HazardName(key)];
    }
}

void LevelSurvey::PlayInput(content::PlayDriver& driver, const std::vector<unsigned>& updates)
{
    mInputUpdates = updates.size();
    mLowestOxygen = driver.Play().mPlayer->mOxygen;
    for (unsigned keys : updates)
    {
        driver.Step(keys);
        if (!driver.PlayerAlive())
        {
            mProblem = "the player dies on the way";
            return;
        }
        mLowestOxygen = std::min(mLowestOxygen, driver.Play().mPlayer->mOxygen);
        if (driver.Finished())
            break;
    }
    mFinished = driver.Finished();
    if (!mFinished)
        mProblem = "the input ends before the exit";
}

std::string LevelSurvey::Stem() const
{
    return std::filesystem::path(mName).stem().string();
}
