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
    // One animation step per logic update, only while animated.
    void Tick();

    bool mIsAnimated = false;
    bool mIsBlockingMotion = false;
    bool mIsHarmful = false;
    std::uint32_t mFrameCounter = 0; // wraps at 2^32
    std::uint32_t mSourceX = 0;
    std::uint32_t mSourceY = 0;
    std::uint32_t mDamage = 0;   // health taken by a harmful tile
    std::string mName = "Empty"; // decimal text of the 24-bit colour
    std::string mImage = "-1";   // image cache name; "0" means never drawn
};
