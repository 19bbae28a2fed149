// What the player asks of the game, whichever device asked it.
#pragma once

// The order is fixed: the browser page's touch controls send these as numbers (0 to 8, and the editor's
// Tools and Zoom, 10 and 11).
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
    Tools, // the editor's menu of what has no button of its own
    Zoom,  // the editor's view, a step closer (round to the widest after the closest)
    Count
};
