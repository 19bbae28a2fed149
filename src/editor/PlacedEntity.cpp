// An entity's placement line.
#include "editor/PlacedEntity.h"

std::string PlacedEntity::Line() const
{
    std::string line = mType + (mDirection ? " 1 " : " 0 ") + std::to_string(mX) + ' ' + std::to_string(mY);
    if (!mID.empty())
    {
        line += ' ' + mID;
    }
    return line;
}
