// The ten behaviour and animation states of an entity; odd values are the armed forms.
#pragma once

#include <cstdint>

// The order matters: an entity is alive while its state is JumpingArmed or below.
enum EntityState : std::int32_t
{
    Standing = 0,
    Walking = 1,
    StandingArmed = 2,
    WalkingArmed = 3,
    Jumping = 4,
    JumpingArmed = 5,
    Dying = 6,
    DyingArmed = 7,
    Dead = 8,
    DeadArmed = 9
};
