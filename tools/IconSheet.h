// The desktop icon: pixel-art grids in the game's palette, each enlarged to the icon sizes it serves.
#pragma once

#include "Palette.h"
#include "Picture.h"

#include <map>
#include <string>
#include <vector>

class IconSheet
{
  public:
    // Reads "palette <file>" (relative to the source) and one or more "grid <side> sizes <n>..." blocks of
    // <side> rows each; "//" lines are comments. Throws with file and line on any fault.
    void Load(const std::string& path);

    // Every size some grid serves, smallest first.
    std::vector<int> Sizes() const;
    // The icon at one of Sizes(), enlarged pixel for pixel; unpainted cells hold mTransparent.
    Picture Render(int size) const;

    // Writes a 32-bit PNG in which mTransparent pixels are fully see-through. Throws on failure.
    static void SaveWithAlpha(const Picture& picture, const std::string& path);

    // '.' and the palette's key colour both leave the icon see-through.
    static constexpr std::uint32_t mTransparent = 0x800080;

  private:
    using Grid = std::vector<std::string>;

    std::uint32_t ColorOf(char symbol) const;

    Palette mPalette;
    std::vector<Grid> mGrids;
    std::map<int, std::size_t> mGridForSize; // icon size -> index into mGrids
};
