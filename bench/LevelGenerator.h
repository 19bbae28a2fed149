// Writes made-up levels from the shipped tile and entity tables: busy decks of any size and a stress arena.
#pragma once

#include "TestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench
{
class LevelGenerator
{
  public:
    // Reads the shipped tables of dir's "data/maps/" to pick the colours the levels are painted with.
    // Throws std::runtime_error when they lack a drawn backdrop tile, a blocking tile or an entity type
    // the levels place.
    explicit LevelGenerator(const test::TempDir& dir);

    // A deck of width x height tiles: every backdrop cell drawn, a floor, platforms every four rows, and
    // the given number of "Blob1" enemies and as many items spread over the free cells, the player at the
    // left. Writes "data/maps/<name>" and its three files.
    void WriteDeck(const std::string& name, int width, int height, int enemies) const;

    // 200 enemies on two floors, walled off from the player at the left; rows 1 to 5 stay free for shots.
    void WriteStressArena(const std::string& name) const;
    static constexpr int kStressEnemies = 200;
    // Left edge of the free lane of the arena, in pixels: right of the wall that keeps enemies away.
    static constexpr int kStressLaneX = 120;

    // Colours (0xRRGGBB) found in the table, for tests.
    const std::vector<std::uint32_t>& Backdrops() const { return mBackdrops; }
    std::uint32_t Wall() const { return mWall; }

  private:
    struct Placement
    {
        std::string type;
        int column;
        int row;
        bool right;
        std::string id;
    };
    void Write(const std::string& name, int width, int height, const std::vector<std::uint32_t>& background,
               const std::vector<std::uint32_t>& collision, const std::vector<Placement>& entities) const;

    const test::TempDir& mDir;
    std::vector<std::uint32_t> mBackdrops; // drawn, neither blocking nor harmful
    std::uint32_t mWall = 0;               // drawn, blocking, harmless
    std::uint32_t mEmpty = 0;              // never drawn, never blocks
};
} // namespace bench
