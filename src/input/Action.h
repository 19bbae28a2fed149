// What the player asks of the game, whichever device asked it.
#pragma once

// The order is fixed: the browser page's touch controls send these as numbers 0 to 8.
enum class Action
{
    Left,
    Right,
    Up,
    Down,
    Jump,
    Fire,
    Accept,
    Back,
    Pause,
    Screenshot,
    Count
};
