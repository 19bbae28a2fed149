// What one colour of a level's layer images means: its picture, animation, blocking and harm.
#pragma once

#include <cstdint>
#include <string>

class TileType
{
  public:
    TileType() = default;

    // Source positions are in pixels of the tile sheet.
    void Init(const std::string& name, const std::string& image, unsigned sourceX, unsigned sourceY,
              unsigned damage, bool animated, bool blocking, bool harmful);
    // One animation step per logic update, only while animated. A vent also counts the level's updates
    // and shows its blowing frames only while it blows.
    void Tick();

    // Updates a vent blows, then rests, from the level's start.
    static constexpr std::uint32_t mVentHalfCycle = 60;
    // Makes the type an air vent blowing in the first (phase 1) or second (phase 2) half of every cycle;
    // its blowing frames lie frameWidth and twice that to the right of its still picture.
    void SetVent(unsigned phase, unsigned frameWidth);
    bool IsVent() const { return mVentPhase != 0; }
    // Whether a vent blows in the update now running; false for every other tile.
    bool IsBlowing() const;

    bool mIsAnimated = false;
    bool mIsBlockingMotion = false;
    bool mIsHarmful = false;
    std::uint32_t mFrameCounter = 0; // wraps at 2^32
    std::uint32_t mSourceX = 0;
    std::uint32_t mSourceY = 0;
    std::uint32_t mDamage = 0;   // health taken by a harmful tile
    std::string mName = "Empty"; // decimal text of the 24-bit colour
    std::string mImage = "-1";   // image cache name; "0" means never drawn
    unsigned mVentPhase = 0;     // 0: not a vent
    std::uint32_t mUpdates = 0;  // a vent's count of updates since the level's start
    std::uint32_t mStillSourceX = 0;
    std::uint32_t mVentFrameWidth = 0;
};
