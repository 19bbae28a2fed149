// The text-grid form of a level that contributors keep in the game's sources: a backdrop grid and a
// foreground grid of characters, with the legend lines they need.
#pragma once

#include <string>

class LevelDocument;
class EditorCatalogue;

class LevelGrid
{
  public:
    LevelGrid() = delete;

    // The grid text of the level. Characters of the shared legend at legendPath are used where it has
    // them ("" or a missing file: none); the rest get legend lines of their own. Throws
    // std::runtime_error naming the cell when a grid cannot say it (an entity on a tile, two on one cell).
    static std::string Text(const LevelDocument& level, const EditorCatalogue& catalogue,
                            const std::string& legendPath);
    // Writes the text, using legend.txt beside the file when there is one.
    static void Write(const LevelDocument& level, const EditorCatalogue& catalogue, const std::string& path);
};
