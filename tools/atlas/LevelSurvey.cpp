// Counting a level's contents and playing its recorded input through the real play screen.
#include "LevelSurvey.h"

#include "PlayDriver.h"

#include "entities/Enemy.h"
#include "entities/Player.h"
#include "io/FieldReader.h"
#include "states/Card.h"
#include "states/PlayState.h"
#include "world/Map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
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

std::string LevelSurvey::Description(const std::filesystem::path& source)
{
    // The game's own line reader: a byte-order mark an editor put before the first comment is no part of it.
    FieldReader file(source.string());
    std::string text;
    for (std::string line; file.ReadLine(line) && FieldReader::IsComment(line);)
    {
        const std::size_t start = line.find_first_not_of(" /");
        const std::size_t end = line.find_last_not_of(" \r");
        if (start != std::string::npos)
            text += (text.empty() ? "" : " ") + line.substr(start, end + 1 - start);
    }
    return text;
}

void LevelSurvey::PlayInput(content::PlayDriver& driver, const std::vector<unsigned>& updates, bool lastLevel)
{
    mInputUpdates = updates.size();
    mLowestOxygen = driver.Play().mPlayer->mOxygen;
    std::set<std::string> placed;
    for (const auto& [name, enemy] : driver.Play().mMap->mEnemies)
        placed.insert(name);
    std::map<const Enemy*, EntityState> states;
    for (std::size_t used = 0; used < updates.size() && !driver.Finished();)
    {
        driver.Step(updates[used++]);
        if (!driver.PlayerAlive())
        {
            const Player& player = *driver.Play().mPlayer; // play keeps its player until the next game
            std::ostringstream where;
            where << "the player dies after " << used << " updates at " << player.GetX() << ","
                  << player.GetY() << " with health " << player.GetHealth() << " and oxygen "
                  << player.mOxygen;
            mProblem = where.str();
            return;
        }
        const Player& player = *driver.Play().mPlayer;
        mLowestOxygen = std::min(mLowestOxygen, player.mOxygen);
        if (driver.Finished())
            break;
        for (const auto& [name, enemy] : driver.Play().mMap->mEnemies)
        {
            const auto known = states.find(enemy.get());
            if (known != states.end() && known->second != Dying && enemy->GetState() == Dying)
            {
                // A stomp leaves the bouncing player standing on the blob's head.
                mStomps += player.GetDY() < 0 && std::abs(player.GetY() + 16 - enemy->GetY()) < 1;
                if (!placed.count(name))
                    mKilledSuccessors.insert(name);
            }
            states[enemy.get()] = enemy->GetState();
        }
    }
    mFinished = driver.Finished();
    if (!mFinished)
    {
        const Player& player = *driver.Play().mPlayer;
        mProblem = "the input ends before the exit, at " + std::to_string(static_cast<int>(player.GetX())) +
                   "," + std::to_string(static_cast<int>(player.GetY()));
        return;
    }
    if (mLowestOxygen < mOxygenMargin)
    {
        mProblem = "the air runs too short along the recorded route";
        return;
    }
    // The level's clock counts exactly the updates played, and the card shows the input's length as the par
    // (after the last level, the run's table holds its one row).
    const PlayState& play = driver.Play();
    const std::string time = Card::FormatTime(static_cast<int>(updates.size()));
    const std::string par = lastLevel ? "    1  " + time + "  " + time + "  " + time : "Par    " + time;
    if (play.mLevelTime != static_cast<int>(updates.size()))
    {
        mProblem = "the level's clock reads " + std::to_string(play.mLevelTime) + " updates, not " +
                   std::to_string(updates.size());
        return;
    }
    if (!play.mCard ||
        std::find(play.mCard->mBody.begin(), play.mCard->mBody.end(), par) == play.mCard->mBody.end())
    {
        mProblem = "the level's card does not show the par " + time;
        return;
    }
    // Through the card and the fade-out.
    for (int i = 0; i < Card::mRunUpdates + 40 && driver.CurrentStateName() == "Play" &&
                    (play.mNextLevel || play.mBackToMenu);
         ++i)
        driver.Step(0);
    if (lastLevel && driver.CurrentStateName() != "MainMenu")
        mProblem = "after the last level the main menu does not return";
    else if (!lastLevel && (driver.CurrentStateName() != "Play" || play.mCurrentMap != 1 || play.mNextLevel))
        mProblem = "the next level does not begin after the exit";
}

std::string LevelSurvey::Stem() const
{
    return std::filesystem::path(mName).stem().string();
}
