// Paints one picture from a text source: character grids in the shared palette plus a few drawing directives.
#pragma once

#include "Palette.h"
#include "Picture.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class TextSource;

class ArtCompiler
{
  public:
    // Reads the source and paints the picture; throws with file and line on any fault.
    void Compile(const std::string& sourcePath);
    const Picture& GetPicture() const;

  private:
    using Grid = std::vector<std::string>;

    void Process(TextSource& source, int depth);
    Grid ReadGrid(TextSource& source, const std::string& name);
    void Paint(int x, int y, char symbol);
    void DrawGrid(const Grid& grid, int x, int y, bool flip, const std::map<char, char>& swaps, int scale);
    void DrawWord(TextSource& source, const std::vector<std::string>& fields);
    void Gradient(int x, int y, int width, int height, const std::string& symbols);
    void Stars(unsigned seed, int count, int x, int y, int width, int height, const std::string& symbols);
    void Outline(char symbol, int cellWidth, int cellHeight);
    void Shadow(char symbol, int dx, int dy);
    void RequirePicture(const TextSource& source) const;

    Palette mPalette;
    std::unique_ptr<Picture> mPicture;
    std::vector<bool> mPainted; // pixels covered by anything but the initial fill
    std::map<std::string, Grid> mGrids;
    int mCellWidth = 8;
    int mCellHeight = 8;
    int mCellColumns = 12;
};
