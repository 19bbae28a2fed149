// The checks made before a level is played or saved.
#include "editor/LevelCheck.h"

#include "editor/EditorCatalogue.h"
#include "editor/LevelDocument.h"
#include "world/EntityType.h"

#include <map>
#include <set>

namespace
{
std::string CellText(int x, int y)
{
    return std::to_string(x) + "," + std::to_string(y);
}

bool Blocks(const LevelDocument& level, const EditorCatalogue& catalogue, int x, int y)
{
    const EditorCatalogue::TileEntry* tile = catalogue.FindTile(level.Cell(LevelDocument::Foreground, x, y));
    return tile != nullptr && tile->mBlocking;
}

// A lift rides until a blocking tile stops it: without one above and one below in its column it would
// leave the level.
bool IsShaftCapped(const LevelDocument& level, const EditorCatalogue& catalogue, int x, int y, int step)
{
    for (int row = y + step; row >= 0 && row < level.Height(); row += step)
    {
        if (Blocks(level, catalogue, x, row))
        {
            return true;
        }
    }
    return false;
}
} // namespace

std::vector<LevelCheck::Problem> LevelCheck::Run(const LevelDocument& level, const EditorCatalogue& catalogue)
{
    std::vector<Problem> problems;
    const int width = level.Width();
    const int height = level.Height();
    if (width < LevelDocument::mMinWidth || height < LevelDocument::mMinHeight)
    {
        problems.push_back({"Level is " + std::to_string(width) + "x" + std::to_string(height) +
                                ", at least " + std::to_string(LevelDocument::mMinWidth) + "x" +
                                std::to_string(LevelDocument::mMinHeight) + " is needed",
                            -1, -1});
    }
    if (width > LevelDocument::mMaxSide || height > LevelDocument::mMaxSide)
    {
        problems.push_back({"Level is " + std::to_string(width) + "x" + std::to_string(height) +
                                ", at most " + std::to_string(LevelDocument::mMaxSide) + " a side",
                            -1, -1});
    }

    std::vector<const PlacedEntity*> players;
    std::vector<const PlacedEntity*> locks;
    int keycards = 0;
    bool exit = false;
    std::set<std::string> lockIDs;
    std::vector<const PlacedEntity*> closedDoors;
    std::vector<const PlacedEntity*> lifts;
    for (const PlacedEntity& placed : level.mEntities)
    {
        const std::string base = catalogue.BaseOf(placed.mType);
        if (base.empty())
        {
            continue; // the game skips a type it does not know, and so may the level
        }
        if (!level.Inside(placed.mX, placed.mY))
        {
            problems.push_back({placed.mType + " outside the level at " + CellText(placed.mX, placed.mY),
                                placed.mX, placed.mY});
        }
        if (base == EntityType::mBasePlayer)
        {
            players.push_back(&placed);
        }
        else if (placed.mType == "KeycardLock")
        {
            locks.push_back(&placed);
            lockIDs.insert(placed.mID);
        }
        else if (placed.mType == "Keycard")
        {
            ++keycards;
        }
        else if (placed.mType == "ShipDoor2")
        {
            exit = true;
        }
        else if (placed.mType == "ShipDoor1")
        {
            closedDoors.push_back(&placed);
        }
        else if (base == EntityType::mBaseLift && level.Inside(placed.mX, placed.mY))
        {
            lifts.push_back(&placed);
        }
    }
    // A closed door is a way out once a lock of its identifier opens it.
    for (const PlacedEntity* door : closedDoors)
    {
        exit = exit || lockIDs.count(door->mID) != 0;
    }

    if (players.empty())
    {
        problems.push_back({"No player start", -1, -1});
    }
    for (std::size_t i = 1; i < players.size(); ++i)
    {
        problems.push_back({"Second player start at " + CellText(players[i]->mX, players[i]->mY),
                            players[i]->mX, players[i]->mY});
    }
    if (!exit)
    {
        problems.push_back({"No exit door", -1, -1});
    }
    // The player carries one keycard at a time and a lock uses it up: each lock needs a keycard of its own.
    for (std::size_t i = static_cast<std::size_t>(keycards); i < locks.size(); ++i)
    {
        problems.push_back({"Lock at " + CellText(locks[i]->mX, locks[i]->mY) + " has no keycard",
                            locks[i]->mX, locks[i]->mY});
    }
    for (const PlacedEntity* lift : lifts)
    {
        const bool roof = IsShaftCapped(level, catalogue, lift->mX, lift->mY, -1);
        const bool floor = IsShaftCapped(level, catalogue, lift->mX, lift->mY, 1);
        if (!roof || !floor)
        {
            problems.push_back({"Lift at " + CellText(lift->mX, lift->mY) + " has no " +
                                    (roof    ? "floor"
                                     : floor ? "roof"
                                             : "roof or floor") +
                                    " in its shaft",
                                lift->mX, lift->mY});
        }
    }
    return problems;
}
