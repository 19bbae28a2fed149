// Made-up levels painted with the shipped tiles and filled with the shipped entity types.
#include "LevelGenerator.h"

#include "world/EntityTypeManager.h"
#include "world/TileManager.h"

#include <stdexcept>

namespace bench
{
namespace
{
const char* const kTileTable = "data/maps/tiletypes.cfg";
const char* const kEntityTable = "data/maps/entitytypes.cfg";
const char* const kPlacedTypes[] = {"Player", "Blob1", "Health", "OxygenTank"};

std::size_t Cell(int width, int column, int row)
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column);
}
} // namespace

LevelGenerator::LevelGenerator(const test::TempDir& dir) : mDir(dir)
{
    const std::string folder = dir.Path().string() + "/";
    TileManager tiles;
    if (!tiles.InitTileTypes(folder + kTileTable, 16))
    {
        throw std::runtime_error(std::string("level generator: cannot read ") + kTileTable);
    }
    bool haveWall = false;
    // Keys are the decimal text of the colour.
    for (const auto& entry : tiles.mTileTypes)
    {
        const TileType& type = *entry.second;
        const auto colour = static_cast<std::uint32_t>(std::stoul(entry.first));
        if (type.mImage == "0" || type.mIsHarmful)
        {
            continue;
        }
        if (type.mIsBlockingMotion)
        {
            // The lowest blocking colour: the same wall for every run.
            if (!haveWall)
            {
                mWall = colour;
                haveWall = true;
            }
        }
        else if (colour != mEmpty)
        {
            mBackdrops.push_back(colour);
        }
    }
    if (!haveWall || mBackdrops.empty())
    {
        throw std::runtime_error("level generator: the tile table has no drawn backdrop or wall");
    }

    EntityTypeManager types;
    types.InitEntityTypes(folder + kEntityTable, 16);
    for (const char* name : kPlacedTypes)
    {
        if (types.GetEntityType(name) == nullptr)
        {
            throw std::runtime_error(std::string("level generator: no entity type ") + name);
        }
    }
}

void LevelGenerator::WriteDeck(const std::string& name, int width, int height, int enemies) const
{
    std::vector<std::uint32_t> background(Cell(width, 0, height));
    std::vector<std::uint32_t> collision(background.size(), mEmpty);
    for (int row = 0; row < height; ++row)
    {
        for (int column = 0; column < width; ++column)
        {
            // Patches of each backdrop colour, so every colour recurs many times.
            const std::size_t pick = static_cast<std::size_t>(column / 3 + row / 2) % mBackdrops.size();
            background[Cell(width, column, row)] = mBackdrops[pick];
        }
    }
    // A floor, and platforms of five cells in every fourth row with gaps to fall through.
    for (int column = 0; column < width; ++column)
    {
        collision[Cell(width, column, height - 1)] = mWall;
        for (int row = 3; row < height - 1; row += 4)
        {
            if ((column / 8 + row / 4) % 2 == 0 && column % 8 < 5)
            {
                collision[Cell(width, column, row)] = mWall;
            }
        }
    }

    // Entities stand on the free cells just above a floor or platform, left to right, lowest first.
    std::vector<std::pair<int, int>> spots;
    for (int row = height - 2; row >= 0; --row)
    {
        for (int column = 3; column < width; column += 2)
        {
            const bool free = collision[Cell(width, column, row)] == mEmpty;
            const bool ground = collision[Cell(width, column, row + 1)] == mWall;
            if (free && ground)
            {
                spots.emplace_back(column, row);
            }
        }
    }
    std::vector<Placement> entities{{"Player", 1, height - 2, true, "Player"}};
    const int wanted = enemies * 2;
    for (int i = 0; i < wanted && !spots.empty(); ++i)
    {
        // Spread over all spots; enemies and items alternate.
        const auto& spot =
            spots[static_cast<std::size_t>(i) * spots.size() / static_cast<std::size_t>(wanted)];
        const char* type = i % 2 == 0 ? "Blob1" : (i % 4 == 1 ? "Health" : "OxygenTank");
        entities.push_back({type, spot.first, spot.second, i % 3 != 0, i % 2 == 0 ? "blob" : "item"});
    }
    Write(name, width, height, background, collision, entities);
}

void LevelGenerator::WriteStressArena(const std::string& name) const
{
    const int width = 128;
    const int height = 15;
    std::vector<std::uint32_t> background(Cell(width, 0, height));
    for (std::size_t cell = 0; cell < background.size(); ++cell)
    {
        background[cell] = mBackdrops[cell % mBackdrops.size()];
    }
    std::vector<std::uint32_t> collision(background.size(), mEmpty);
    for (int column = 0; column < width; ++column)
    {
        collision[Cell(width, column, height - 1)] = mWall;
        if (column >= 7)
        {
            collision[Cell(width, column, 9)] = mWall; // the upper floor, without gaps
        }
    }
    // The wall between the player and the enemies; the shots' lane starts right of it.
    for (int row = 0; row < height - 1; ++row)
    {
        collision[Cell(width, 6, row)] = mWall;
    }

    std::vector<Placement> entities{{"Player", 2, height - 2, true, "Player"}};
    const int perFloor = kStressEnemies / 2;
    for (int i = 0; i < perFloor; ++i)
    {
        entities.push_back({"Blob1", 8 + i, height - 2, i % 2 == 0, "blob"});
        entities.push_back({"Blob1", 8 + i, 8, i % 2 != 0, "blob"});
    }
    Write(name, width, height, background, collision, entities);
}

void LevelGenerator::Write(const std::string& name, int width, int height,
                           const std::vector<std::uint32_t>& background,
                           const std::vector<std::uint32_t>& collision,
                           const std::vector<Placement>& entities) const
{
    const std::string maps = "data/maps/";
    mDir.WritePng(maps + name + "-back.png", width, height, background);
    mDir.WritePng(maps + name + "-fore.png", width, height, collision);
    std::string placement;
    for (const Placement& entity : entities)
    {
        placement += entity.type + (entity.right ? " 1 " : " 0 ") + std::to_string(entity.column) + " " +
                     std::to_string(entity.row) + " " + entity.id + "\n";
    }
    mDir.WriteFile(maps + name + "-entities.txt", placement);
    mDir.WriteFile(maps + name, name + "-back.png " + name + "-fore.png " + name + "-entities.txt\n");
}
} // namespace bench
