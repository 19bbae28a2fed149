// A named kind of entity: which class it makes, its first picture, animation, blocking and jump speed.
#pragma once

#include <cstdint>
#include <string>

class EntityType
{
  public:
    EntityType() = default;

    // The base types the level's placement knows: each picks the class a type makes and, but for the
    // player, the map registry that keeps its entities.
    static constexpr const char* mBasePlayer = "Player";
    static constexpr const char* mBaseEnemy = "Enemy";
    static constexpr const char* mBaseItem = "Item";
    static constexpr const char* mBaseEntity = "Entity";
    // A lift is kept with the plain entities but moves by rules of its own.
    static constexpr const char* mBaseLift = "Lift";

    // Source positions are in pixels of the sprite sheet.
    void Init(const std::string& baseType, const std::string& name, unsigned sourceX, unsigned sourceY,
              unsigned value, bool animated, bool blocking, double jumpSpeed);
    // One animation step per logic update, only while animated; all entities of the type share it.
    void Tick();

    bool mIsAnimated = false;
    bool mIsBlockingMotion = false;
    bool mHasValue = false;          // mValue != 0; a closed door opens only when its type has a value
    std::uint32_t mFrameCounter = 0; // wraps at 2^32
    std::uint32_t mSourceX = 0;
    std::uint32_t mSourceY = 0;
    std::uint32_t mValue = 0;
    double mJumpSpeed = 0.0; // pixels per update; negative jumps upwards
    std::string mName = "None";
    std::string mBaseType = mBaseEntity; // which kind of entity the type makes, stored as read
};
