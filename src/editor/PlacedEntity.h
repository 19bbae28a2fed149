// One entity placed in a level being edited, as its placement line says it.
#pragma once

#include <string>
#include <vector>

struct PlacedEntity
{
    std::string mType;      // entity type name
    bool mDirection = true; // true faces right
    int mX = 0;             // column, in tiles
    int mY = 0;             // row, in tiles
    std::string mID;        // identifier; locks open the doors of their own; empty for the player
    // Lines the game skips (comments, unknown types) that stood just before this one: kept so a level
    // saved unchanged comes out the same.
    std::vector<std::string> mLinesBefore;

    // "type facing column row[ identifier]", as a placement line and a link say it.
    std::string Line() const;

    bool operator==(const PlacedEntity& other) const
    {
        return mType == other.mType && mDirection == other.mDirection && mX == other.mX && mY == other.mY &&
               mID == other.mID;
    }
};
