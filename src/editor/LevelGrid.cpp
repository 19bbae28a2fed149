// Writing a level as text grids with their legend.
#include "editor/LevelGrid.h"

#include "editor/EditorCatalogue.h"
#include "editor/LevelDocument.h"
#include "io/FieldReader.h"
#include "world/EntityType.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

namespace
{
// Never a blank (which ends a row) nor a slash (two make a comment).
const std::string kPool =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-=#%_:^*~|<>!?$&+@;,'\"()[]{}`";

// What a character stands for on one layer: a colour, or an entity named by type, facing and identifier.
class Legend
{
  public:
    void Take(char symbol, const std::string& meaning)
    {
        if (mSymbols.count(meaning) == 0)
        {
            mSymbols[meaning] = symbol;
        }
        mTaken.insert(symbol);
    }

    // The character for a meaning, given a new one (and a legend line) when the shared legend has none.
    char For(const std::string& meaning, const std::string& layer, std::ostringstream& ownLines)
    {
        auto found = mSymbols.find(meaning);
        if (found != mSymbols.end())
        {
            return found->second;
        }
        for (char symbol : kPool)
        {
            if (mTaken.count(symbol) == 0)
            {
                Take(symbol, meaning);
                ownLines << layer << ' ' << symbol << ' ' << meaning << '\n';
                return symbol;
            }
        }
        throw std::runtime_error("the level uses more kinds of cell than a grid has characters");
    }

  private:
    std::map<std::string, char> mSymbols;
    std::set<char> mTaken;
};

std::string EntityMeaning(const PlacedEntity& placed, const std::string& base)
{
    // The player's identifier is never read; the shared legend names it "Player".
    const std::string id = base == EntityType::mBasePlayer ? "Player" : placed.mID;
    return "entity " + placed.mType + (placed.mDirection ? " 1 " : " 0 ") + id;
}

void ReadShared(const std::string& path, Legend& back, Legend& fore)
{
    if (path.empty())
    {
        return;
    }
    FieldReader reader(path);
    std::vector<std::string> fields;
    while (reader.IsOpen() && reader.NextLine(fields))
    {
        if (fields.size() < 3 || fields[1].size() != 1 || (fields[0] != "back" && fields[0] != "fore"))
        {
            continue;
        }
        std::string meaning;
        if (fields[2] == "entity" && fields.size() == 6)
        {
            meaning = "entity " + fields[3] + ' ' + fields[4] + ' ' + fields[5];
        }
        else if (fields.size() == 3 && fields[2].size() == 6)
        {
            meaning =
                LevelDocument::Hex(static_cast<std::uint32_t>(std::strtoul(fields[2].c_str(), nullptr, 16)));
        }
        else
        {
            continue;
        }
        (fields[0] == "back" ? back : fore).Take(fields[1][0], meaning);
    }
}
} // namespace

std::string LevelGrid::Text(const LevelDocument& level, const EditorCatalogue& catalogue,
                            const std::string& legendPath)
{
    const int width = level.Width();
    const int height = level.Height();
    std::vector<std::string> entities(static_cast<std::size_t>(height), std::string(width, '\0'));
    std::vector<std::vector<int>> placedAt(static_cast<std::size_t>(height), std::vector<int>(width, -1));
    for (std::size_t i = 0; i < level.mEntities.size(); ++i)
    {
        const PlacedEntity& placed = level.mEntities[i];
        const std::string cell = std::to_string(placed.mX) + "," + std::to_string(placed.mY);
        if (!level.Inside(placed.mX, placed.mY))
        {
            throw std::runtime_error(placed.mType + " outside the level at " + cell);
        }
        if (placedAt[placed.mY][placed.mX] >= 0)
        {
            throw std::runtime_error("Two entities at " + cell + ": a grid holds one a cell");
        }
        if (level.Cell(LevelDocument::Foreground, placed.mX, placed.mY) != 0)
        {
            throw std::runtime_error(placed.mType + " at " + cell +
                                     " stands on a tile: a grid needs it on an empty cell");
        }
        placedAt[placed.mY][placed.mX] = static_cast<int>(i);
    }

    Legend back;
    Legend fore;
    ReadShared(legendPath, back, fore);
    std::ostringstream ownLines;
    std::ostringstream grids;
    grids << "backdrop\n";
    for (int y = 0; y < height; ++y)
    {
        std::string row(width, ' ');
        for (int x = 0; x < width; ++x)
        {
            row[x] =
                back.For(LevelDocument::Hex(level.Cell(LevelDocument::Backdrop, x, y)), "back", ownLines);
        }
        grids << row << '\n';
    }
    grids << "\nforeground\n";
    for (int y = 0; y < height; ++y)
    {
        std::string row(width, ' ');
        for (int x = 0; x < width; ++x)
        {
            const int entity = placedAt[y][x];
            if (entity >= 0)
            {
                const PlacedEntity& placed = level.mEntities[entity];
                row[x] = fore.For(EntityMeaning(placed, catalogue.BaseOf(placed.mType)), "fore", ownLines);
            }
            else
            {
                row[x] = fore.For(LevelDocument::Hex(level.Cell(LevelDocument::Foreground, x, y)), "fore",
                                  ownLines);
            }
        }
        grids << row << '\n';
    }

    const std::string music = level.Music();
    return level.DescriptionComments() + (music.empty() ? "" : "music " + music + "\n") + ownLines.str() +
           grids.str();
}

void LevelGrid::Write(const LevelDocument& level, const EditorCatalogue& catalogue, const std::string& path)
{
    const std::filesystem::path legend = std::filesystem::path(path).parent_path() / "legend.txt";
    LevelDocument::WriteText(path,
                             Text(level, catalogue, std::filesystem::exists(legend) ? legend.string() : ""));
}
