// Shared fixtures that write tiny levels (type tables, sheets, layer images, placements) into a TempDir.
#pragma once

#include "TestSupport.h"

#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace test
{
// Colours of the standard tile table (0xRRGGBB). Undefined colours are empty space.
constexpr std::uint32_t kSky = 0x000000;    // defined, image "0": never drawn, not blocking
constexpr std::uint32_t kWall = 0x808080;   // blocking, picture at sheet column 0
constexpr std::uint32_t kSpikes = 0xFF0000; // harmful (damage 5), not blocking, sheet column 1
constexpr std::uint32_t kLava = 0xFF8000;   // harmful (damage 20) and blocking, sheet column 2
constexpr std::uint32_t kWater = 0x0000FF;  // animated, not blocking, sheet columns 3 and 4
// Air vents, blocking: still at sheet column 3 of row 1, blowing frames in columns 4 and 5.
constexpr std::uint32_t kVent = 0x90D0E0;     // blows first
constexpr std::uint32_t kVentLate = 0x90D0E1; // blows while kVent rests

// The tile table for the colours above; all pictures in the image "tiles".
std::string StandardTileTypes();
// Entity types: Player, Blob1..3, Bullet, Health, OxygenTank, Keycard, KeycardLock, Weapon,
// ShipDoor1 (value 1, blocking), ShipDoor2 (value 1, not blocking, animated), Crate (base Entity),
// Crawler (an enemy that falls, as the game's blobs do) and Lift (2 px per update).
std::string StandardEntityTypes();

// The colour of pixel (x, y) of every sheet written by WriteSheet: each pixel tells its own position
// (for sheets up to 256 x 256), so a drawn pixel shows which source pixel was copied.
std::uint32_t SheetPixel(int x, int y);
// A width x height sheet "data/gfx/<name>.png" of SheetPixel colours.
void WriteSheet(const TempDir& dir, const std::string& name, int width, int height);
// "data/gfx/hud.png", 72 x 24 of one colour.
void WriteHud(const TempDir& dir, std::uint32_t colour = 0x00FF00);

// One pixel per cell, rows as text: each character is looked up in the legend.
std::vector<std::uint32_t> Grid(const std::vector<std::string>& rows,
                                const std::map<char, std::uint32_t>& legend);
// The legend: '.' sky, '#' wall, '^' spikes, '~' lava, 'w' water, '?' an undefined colour (0x123456),
// 'Y' and 'y' the two vents.
const std::map<char, std::uint32_t>& StandardLegend();

struct LevelFiles
{
    std::string name = "level";          // description "data/maps/<name>"
    std::vector<std::string> background; // rows of the background layer (StandardLegend)
    std::vector<std::string> collision;  // rows of the collision layer; empty = same as background
    std::string placement;               // text of the placement file
};
// Writes the description, both layer images and the placement file of one level.
void WriteLevel(const TempDir& dir, const LevelFiles& level);

// Writes both type tables, "tiles" (96 x 32) and "sprites" (256 x 64) sheets and the HUD picture:
// everything a level needs besides its own files.
void WriteWorldData(const TempDir& dir);
} // namespace test
