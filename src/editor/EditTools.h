// The editor's tools as edits of a level: each builds the undoable change it makes, without making it.
#pragma once

#include "editor/LevelEdit.h"

#include <cstdint>
#include <string>

class LevelDocument;
class EditorCatalogue;

class EditTools
{
  public:
    EditTools() = delete;

    // What the cursor's cell holds, for the pick tool and the status line.
    struct Picked
    {
        std::uint32_t mColor = 0;
        int mEntity = -1; // index in the level's entities, -1 for none (only looked for on the foreground)
    };

    static LevelEdit Paint(const LevelDocument& level, int layer, int x, int y, std::uint32_t color);
    // Fills the rectangle between two corners given in any order, clipped to the level.
    static LevelEdit Fill(const LevelDocument& level, int layer, int x0, int y0, int x1, int y1,
                          std::uint32_t color);
    // On the foreground an entity on the cell goes first; otherwise the cell becomes empty (colour 0).
    static LevelEdit Erase(const LevelDocument& level, int layer, int x, int y);
    static Picked Pick(const LevelDocument& level, int layer, int x, int y);

    // Places an entity of the type on an empty cell, or replaces the one there. There is one player start:
    // placing it moves it.
    static LevelEdit Place(const LevelDocument& level, const EditorCatalogue& catalogue,
                           const std::string& type, bool direction, int x, int y);
    // Moves the entity to a cell (replacing what stands there).
    static LevelEdit Move(const LevelDocument& level, int entity, int x, int y);
    static LevelEdit Remove(const LevelDocument& level, int entity);
    static LevelEdit Turn(const LevelDocument& level, int entity);
    // Gives the entity an identifier: locks open the doors of their own.
    static LevelEdit Name(const LevelDocument& level, int entity, const std::string& id);
    // Throws std::runtime_error for a size the level cannot hold.
    static LevelEdit Resize(const LevelDocument& level, int width, int height);
    static LevelEdit Describe(const LevelDocument& level, const std::string& text);
    // The whole level (size, cells, entities, description) becomes another.
    static LevelEdit Replace(const LevelDocument& level, const LevelDocument& with);

    // The identifier a newly placed entity of the type gets: what the level's grids have always used.
    static std::string DefaultID(const std::string& type, const std::string& baseType);
};
