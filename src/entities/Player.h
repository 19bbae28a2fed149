// The entity the user steers: oxygen, hurt immunity, keycard, its shots and the status display.
#pragma once

#include "entities/Bullet.h"
#include "entities/Entity.h"
#include "graphics/Image.h"

#include <SDL.h>

#include <list>
#include <memory>
#include <string>

class Player : public Entity
{
  public:
    Player();
    ~Player() override;

    // The name of the level's entity type the player is made from; also the player's id.
    static constexpr const char* mTypeName = "Player";

    // Loads "data/gfx/hud.png"; false when that fails. Not an override: the four-argument Init stays.
    using Entity::Init;
    bool Init(double x, double y, const std::string& id, EntityType* type, SDL_RendererInfo info);

    // Oxygen, hurt timer, and dying of lack of oxygen or health.
    void Tick() override;
    void Jump(bool force) override;
    // A player who starts to fall takes the jump pose; unlike other entities it may also move up.
    void SetY(double y) override;
    // Clamped to 0..100.
    void SetHealth(int health) override;

    // Draws the health and oxygen bars in the top-left corner of target.
    void ShowHUD(SDL_Surface* target);
    // Draws the picture of the player's state and animation frame from the sprite sheet, its top-left corner
    // at x, y on target, turned the way the player faces. Nothing without an entity type.
    void DrawFrame(Image& sheet, SDL_Surface* target, int x, int y);

    // x offset of a state's pictures from the type's first picture in the sprite sheet, pixels.
    static int GetSheetOffset(EntityState state);

    std::unique_ptr<Image> mHUD;
    bool mHasKeycard = false;
    int mHurtTimer = 0;       // updates of immunity left after a hit; drawn blinking while above 0
    double mOxygen = 10.0;    // 10.0 is full
    double mOxygenUse = 0.03; // used per update; less with the air assists
    // Shots in flight, in firing order.
    std::list<std::unique_ptr<Bullet>> mBullets;

    // Enters Dying (or DyingArmed) without stopping the motion, and restarts the type's animation; nothing
    // when already dying or dead.
    void StartDying();
};
