// Building the undoable edits of the editor's tools.
#include "editor/EditTools.h"

#include "editor/EditorCatalogue.h"
#include "editor/LevelDocument.h"
#include "world/EntityType.h"

#include <algorithm>
#include <stdexcept>

namespace
{
LevelEdit EntityEdit(const LevelDocument& level, std::vector<PlacedEntity> after)
{
    LevelEdit edit;
    if (after == level.mEntities)
    {
        return edit;
    }
    edit.mEntitiesBefore = level.mEntities;
    edit.mEntitiesAfter = std::move(after);
    return edit;
}

bool Valid(const LevelDocument& level, int entity)
{
    return entity >= 0 && static_cast<std::size_t>(entity) < level.mEntities.size();
}

LevelEdit::Shape ShapeOf(const LevelDocument& level)
{
    LevelEdit::Shape shape;
    shape.mWidth = level.Width();
    shape.mHeight = level.Height();
    shape.mLayers[0] = level.Layer(0);
    shape.mLayers[1] = level.Layer(1);
    return shape;
}
} // namespace

LevelEdit EditTools::Paint(const LevelDocument& level, int layer, int x, int y, std::uint32_t color)
{
    return Fill(level, layer, x, y, x, y, color);
}

LevelEdit EditTools::Fill(const LevelDocument& level, int layer, int x0, int y0, int x1, int y1,
                          std::uint32_t color)
{
    LevelEdit edit;
    const int left = std::max(std::min(x0, x1), 0);
    const int right = std::min(std::max(x0, x1), level.Width() - 1);
    const int top = std::max(std::min(y0, y1), 0);
    const int bottom = std::min(std::max(y0, y1), level.Height() - 1);
    for (int y = top; y <= bottom; ++y)
    {
        for (int x = left; x <= right; ++x)
        {
            const std::uint32_t before = level.Cell(layer, x, y);
            if (before != (color & 0xFFFFFF))
            {
                edit.mCells.push_back({layer, x, y, before, color & 0xFFFFFF});
            }
        }
    }
    return edit;
}

LevelEdit EditTools::Erase(const LevelDocument& level, int layer, int x, int y)
{
    if (layer == LevelDocument::Foreground)
    {
        const int entity = level.EntityAt(x, y);
        if (entity >= 0)
        {
            return Remove(level, entity);
        }
    }
    return Paint(level, layer, x, y, 0);
}

EditTools::Picked EditTools::Pick(const LevelDocument& level, int layer, int x, int y)
{
    Picked picked;
    picked.mColor = level.Cell(layer, x, y);
    if (layer == LevelDocument::Foreground)
    {
        picked.mEntity = level.EntityAt(x, y);
    }
    return picked;
}

std::string EditTools::DefaultID(const std::string& type, const std::string& baseType)
{
    if (baseType == EntityType::mBasePlayer)
    {
        return "";
    }
    if (baseType == EntityType::mBaseEnemy)
    {
        return "blob";
    }
    if (type == "KeycardLock" || type == "ShipDoor1")
    {
        return "A";
    }
    if (type == "ShipDoor2")
    {
        return "exit";
    }
    return "item";
}

LevelEdit EditTools::Place(const LevelDocument& level, const EditorCatalogue& catalogue,
                           const std::string& type, bool direction, int x, int y)
{
    const std::string base = catalogue.BaseOf(type);
    if (base.empty() || !level.Inside(x, y))
    {
        return LevelEdit();
    }
    std::vector<PlacedEntity> after = level.mEntities;
    if (base == EntityType::mBasePlayer)
    {
        after.erase(std::remove_if(after.begin(), after.end(),
                                   [&catalogue](const PlacedEntity& placed)
                                   { return catalogue.BaseOf(placed.mType) == EntityType::mBasePlayer; }),
                    after.end());
    }
    PlacedEntity placed;
    placed.mType = type;
    placed.mDirection = direction;
    placed.mX = x;
    placed.mY = y;
    placed.mID = DefaultID(type, base);
    auto there = std::find_if(after.begin(), after.end(),
                              [x, y](const PlacedEntity& other) { return other.mX == x && other.mY == y; });
    if (there != after.end())
    {
        // Replaced in place, keeping the lines that stood before it in the file.
        placed.mLinesBefore = there->mLinesBefore;
        *there = placed;
    }
    else
    {
        after.push_back(placed);
    }
    return EntityEdit(level, std::move(after));
}

LevelEdit EditTools::Move(const LevelDocument& level, int entity, int x, int y)
{
    if (!Valid(level, entity) || !level.Inside(x, y))
    {
        return LevelEdit();
    }
    std::vector<PlacedEntity> after = level.mEntities;
    after[entity].mX = x;
    after[entity].mY = y;
    const int there = level.EntityAt(x, y);
    if (there >= 0 && there != entity)
    {
        after.erase(after.begin() + there);
    }
    return EntityEdit(level, std::move(after));
}

LevelEdit EditTools::Remove(const LevelDocument& level, int entity)
{
    if (!Valid(level, entity))
    {
        return LevelEdit();
    }
    std::vector<PlacedEntity> after = level.mEntities;
    // The comments above it stay, now above the next line.
    std::vector<std::string> lines = std::move(after[entity].mLinesBefore);
    after.erase(after.begin() + entity);
    if (static_cast<std::size_t>(entity) < after.size())
    {
        lines.insert(lines.end(), after[entity].mLinesBefore.begin(), after[entity].mLinesBefore.end());
        after[entity].mLinesBefore = std::move(lines);
    }
    return EntityEdit(level, std::move(after));
}

LevelEdit EditTools::Turn(const LevelDocument& level, int entity)
{
    if (!Valid(level, entity))
    {
        return LevelEdit();
    }
    std::vector<PlacedEntity> after = level.mEntities;
    after[entity].mDirection = !after[entity].mDirection;
    return EntityEdit(level, std::move(after));
}

LevelEdit EditTools::Name(const LevelDocument& level, int entity, const std::string& id)
{
    if (!Valid(level, entity) || id.empty() || id.find(' ') != std::string::npos)
    {
        return LevelEdit();
    }
    std::vector<PlacedEntity> after = level.mEntities;
    after[entity].mID = id;
    return EntityEdit(level, std::move(after));
}

LevelEdit EditTools::Resize(const LevelDocument& level, int width, int height)
{
    LevelEdit edit;
    if (width == level.Width() && height == level.Height())
    {
        return edit;
    }
    if (width < 1 || height < 1 || static_cast<long long>(width) * height > LevelDocument::mMaxCells)
    {
        throw std::runtime_error("a level cannot be " + std::to_string(width) + "x" + std::to_string(height));
    }
    // Only what the new edges cut off is kept: growing keeps nothing.
    LevelEdit::Resizing resizing{level.Width(), level.Height(), width, height, {}};
    for (int layer = 0; layer < 2; ++layer)
    {
        for (int y = 0; y < level.Height(); ++y)
        {
            for (int x = y < height ? width : 0; x < level.Width(); ++x)
            {
                const std::uint32_t color = level.Cell(layer, x, y);
                if (color != 0)
                {
                    resizing.mCut.push_back({layer, x, y, color, 0});
                }
            }
        }
    }
    edit.mResize = std::move(resizing);
    return edit;
}

LevelEdit EditTools::Describe(const LevelDocument& level, const std::string& text)
{
    LevelEdit edit;
    if (text != level.mDescription)
    {
        edit.mDescriptionBefore = level.mDescription;
        edit.mDescriptionAfter = text;
    }
    return edit;
}

LevelEdit EditTools::Replace(const LevelDocument& level, const LevelDocument& with)
{
    LevelEdit edit;
    edit.mShapeBefore = ShapeOf(level);
    edit.mShapeAfter = ShapeOf(with);
    edit.mEntitiesBefore = level.mEntities;
    edit.mEntitiesAfter = with.mEntities;
    edit.mDescriptionBefore = level.mDescription;
    edit.mDescriptionAfter = with.mDescription;
    return edit;
}
