// What must hold before a level is played or saved: one player start, a way out, enough keycards, a size the
// game loads. Each problem is named with its cell.
#pragma once

#include <string>
#include <vector>

class LevelDocument;
class EditorCatalogue;

class LevelCheck
{
  public:
    LevelCheck() = delete;

    struct Problem
    {
        std::string mText; // "No player start", "Lock at 12,4 has no keycard", ...
        int mX = -1;       // the cell at fault, -1 when the problem has none
        int mY = -1;
    };

    static std::vector<Problem> Run(const LevelDocument& level, const EditorCatalogue& catalogue);
};
