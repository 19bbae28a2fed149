// The named colour palette that every picture of the game is painted with, one character per colour.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class Palette
{
  public:
    // Reads lines "<char> <name> <r> <g> <b>"; "//" lines are comments. Throws on a malformed line.
    void Load(const std::string& path);

    bool Has(char symbol) const { return mColors.count(symbol) != 0; }
    // The colour as 0xRRGGBB; throws for a character the palette does not define.
    std::uint32_t Color(char symbol) const;
    // The character whose colour has this name; throws when there is none.
    char Symbol(const std::string& name) const;
    std::size_t Size() const { return mColors.size(); }

    // Painting with this character leaves the pixel below unchanged.
    static constexpr char mClear = '.';

  private:
    std::map<char, std::uint32_t> mColors;
    std::map<std::string, char> mNames;
};
