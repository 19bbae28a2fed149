// Everything that moves or can be picked up: position, motion, state, health, box and its type.
#pragma once

#include "entities/EntityState.h"
#include "world/EntityType.h"

#include <SDL.h>

#include <map>
#include <string>
#include <utility>

// Positions are level pixels of the box's top-left corner, speeds pixels per update, times updates.
// Callers go through the virtual operations only, so each kind reacts in its own way.
class Entity
{
  public:
    Entity() = default;
    virtual ~Entity() = default;
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;

    // type must not be null and must outlive the entity. Always returns true.
    virtual bool Init(double x, double y, const std::string& id, EntityType* type);
    // The death timer: Dead on the 25th update in Dying.
    virtual void Tick();
    // Horizontal walking speed, pixels per update.
    virtual float GetMaxMotionSpeed();
    virtual void Jump(bool force);
    // Reaction to being stopped sideways.
    virtual void CheckHorizontalCollision();
    // Reaction to being stopped vertically: grounded unless it was rising.
    virtual void CheckVerticalCollision();

    virtual bool GetIsAlive() const;
    virtual bool GetIsAnimated() const { return mIsAnimated; }
    virtual bool GetIsBlockingMotion() const { return mIsBlockingMotion; }
    virtual bool GetIsFlying() const { return mIsFlying; }
    virtual bool GetIsOnGround() const { return mIsOnGround; }
    virtual bool GetDirection() const { return mDirection; } // true = facing right
    virtual bool GetWeapon() const { return mWeapon; }
    virtual int GetHealth() const { return mHealth; }
    virtual EntityState GetState() const { return mState; }
    virtual int GetFrameWidth() const { return mFrameWidth; }   // also the box width
    virtual int GetFrameHeight() const { return mFrameHeight; } // also the box height
    virtual double GetX() const { return mX; }
    virtual double GetY() const { return mY; }
    virtual double GetDX() const { return mDX; }
    virtual double GetDY() const { return mDY; }
    virtual double GetJumpSpeed() const { return mJumpSpeed; }
    virtual std::string GetID() const { return mID; }
    virtual std::string GetName() const { return mName; }
    virtual std::string GetBaseType() const { return mBaseType; }
    virtual std::string GetType() const { return mType; }
    virtual EntityType* GetEntityType() const { return mEntityType; }
    // Frames of the current state; a state never registered gets an entry of 0 frames.
    virtual unsigned GetStateAnimation();
    virtual void SetIsAnimated(bool animated) { mIsAnimated = animated; }
    virtual void SetIsBlockingMotion(bool blocking) { mIsBlockingMotion = blocking; }
    virtual void SetIsFlying(bool flying) { mIsFlying = flying; }
    virtual void SetIsOnGround(bool onGround) { mIsOnGround = onGround; }
    virtual void SetDirection(bool direction) { mDirection = direction; }
    virtual void SetWeapon(bool weapon) { mWeapon = weapon; }
    // Clamped to 0..10 (the player: 0..100).
    virtual void SetHealth(int health);
    // Entering Dying stops the motion; setting the current state again does nothing.
    virtual void SetState(EntityState state);
    virtual void SetFrameWidth(int width);
    virtual void SetFrameHeight(int height);
    virtual void SetX(double x) { mX = x; }
    // The only way the simulation moves an entity vertically; a jump speed of 0 means it never does.
    virtual void SetY(double y);
    virtual void SetDX(double dx) { mDX = dx; }
    virtual void SetDY(double dy) { mDY = dy; }
    virtual void SetJumpSpeed(double speed) { mJumpSpeed = speed; }
    virtual void SetID(std::string id) { mID = std::move(id); }
    virtual void SetName(std::string name) { mName = std::move(name); }
    virtual void SetBaseType(std::string baseType) { mBaseType = std::move(baseType); }
    virtual void SetType(std::string type) { mType = std::move(type); }
    virtual void SetEntityType(EntityType* type) { mEntityType = type; }

    // Moves the entity to y with what carries it (a lift), whatever SetY says about rising or falling.
    void Carry(double y) { mY = y; }

    // The animation frame to show now: (type counter / 10) mod frames of the state; 0 for a state
    // without frames or an entity without a type.
    unsigned GetAnimationFrame();

  protected:
    // True when y lies at least one whole pixel row below the current position (both truncated toward
    // zero, as doubles: huge and infinite positions compare without overflow).
    bool IsRowBelow(double y) const;

    bool mIsAnimated = false;
    bool mIsBlockingMotion = false;
    bool mIsFlying = false; // no gravity; nothing in the game sets it
    bool mIsOnGround = false;
    bool mDirection = true;
    bool mWeapon = false;
    int mHealth = -1;
    EntityState mState = Standing;
    int mStateTimer = 0; // updates spent in Dying; never reset
    int mFrameWidth = 16;
    int mFrameHeight = 16;
    double mX = 0.0;
    double mY = 0.0;
    double mDX = 0.0;
    double mDY = 0.0;
    double mJumpSpeed = 0.0;
    // The collision box: w and h follow the frame size; x and y are only set at Init.
    SDL_Rect mRect{0, 0, 16, 16};
    std::string mID = "-1";
    std::string mName;
    std::string mBaseType = EntityType::mBaseEntity;
    std::string mType = "None";
    EntityType* mEntityType = nullptr;                // not owned
    std::map<EntityState, unsigned> mStateAnimations; // frames per state
};
