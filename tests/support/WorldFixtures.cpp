// Shared fixtures that write tiny levels into a TempDir.
#include "WorldFixtures.h"

#include <sstream>
#include <stdexcept>

namespace test
{
std::string StandardTileTypes()
{
    return "// colour image column row damage animated blocking harmful\n"
           "000000 0 0 0 0 0 0 0\n"
           "808080 tiles 0 0 0 0 1 0\n"
           "FF0000 tiles 1 0 5 0 0 1\n"
           "FF8000 tiles 2 0 20 0 1 1\n"
           "0000FF tiles 3 0 0 1 0 0\n"
           "90D0E0 tiles 3 1 0 1 1 0 1\n"
           "90D0E1 tiles 3 1 0 1 1 0 2\n";
}

std::string StandardEntityTypes()
{
    return "// base name column row value animated blocking jumpspeed\n"
           "Player Player 0 0 0 1 0 -8\n"
           "Enemy Blob1 0 1 0 1 0 0\n"
           "Enemy Blob2 4 1 0 1 0 0\n"
           "Enemy Blob3 8 1 0 1 0 0\n"
           "Entity Bullet 12 1 0 0 0 0\n"
           "Item Health 0 2 0 0 0 0\n"
           "Item OxygenTank 2 2 0 1 0 0\n"
           "Item Keycard 4 2 0 0 0 0\n"
           "Item KeycardLock 5 2 0 0 0 0\n"
           "Item Weapon 6 2 0 0 0 0\n"
           "Item ShipDoor1 7 2 1 0 1 0\n"
           "Item ShipDoor2 8 2 1 1 0 0\n"
           "Entity Crate 10 2 0 0 1 0\n"
           "Enemy Crawler 0 1 0 1 0 -1\n"
           "Lift Lift 11 2 0 0 0 2\n";
}

std::uint32_t SheetPixel(int x, int y)
{
    // Red and green carry the position; blue keeps it away from black and the key (128, 0, 128).
    return (static_cast<std::uint32_t>(x & 0xFF) << 16) | (static_cast<std::uint32_t>(y & 0xFF) << 8) | 0x21u;
}

void WriteSheet(const TempDir& dir, const std::string& name, int width, int height)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            pixels[static_cast<std::size_t>(y) * width + x] = SheetPixel(x, y);
        }
    }
    dir.WritePng("data/gfx/" + name + ".png", width, height, pixels);
}

void WriteHud(const TempDir& dir, std::uint32_t colour)
{
    dir.WritePng("data/gfx/hud.png", 72, 24, std::vector<std::uint32_t>(72 * 24, colour));
}

const std::map<char, std::uint32_t>& StandardLegend()
{
    static const std::map<char, std::uint32_t> legend{{'.', kSky},  {'#', kWall},    {'^', kSpikes},
                                                      {'~', kLava}, {'w', kWater},   {'?', 0x123456},
                                                      {'Y', kVent}, {'y', kVentLate}};
    return legend;
}

std::vector<std::uint32_t> Grid(const std::vector<std::string>& rows,
                                const std::map<char, std::uint32_t>& legend)
{
    std::vector<std::uint32_t> pixels;
    for (const std::string& row : rows)
    {
        if (row.size() != rows.front().size())
        {
            throw std::runtime_error("grid rows differ in length");
        }
        for (char cell : row)
        {
            pixels.push_back(legend.at(cell));
        }
    }
    return pixels;
}

void WriteLevel(const TempDir& dir, const LevelFiles& level)
{
    const std::vector<std::string>& collision = level.collision.empty() ? level.background : level.collision;
    dir.WriteFile("data/maps/" + level.name,
                  level.name + "_bg.png " + level.name + "_col.png " + level.name + ".ent\n");
    dir.WritePng("data/maps/" + level.name + "_bg.png", static_cast<int>(level.background.front().size()),
                 static_cast<int>(level.background.size()), Grid(level.background, StandardLegend()));
    dir.WritePng("data/maps/" + level.name + "_col.png", static_cast<int>(collision.front().size()),
                 static_cast<int>(collision.size()), Grid(collision, StandardLegend()));
    dir.WriteFile("data/maps/" + level.name + ".ent", level.placement);
}

void WriteWorldData(const TempDir& dir)
{
    dir.WriteFile("data/maps/tiletypes.cfg", StandardTileTypes());
    dir.WriteFile("data/maps/entitytypes.cfg", StandardEntityTypes());
    WriteSheet(dir, "tiles", 96, 32);
    WriteSheet(dir, "sprites", 256, 64);
    WriteHud(dir);
}
} // namespace test
