// How much a view of a level costs to draw, and the busiest view a player can bring about.
#pragma once

#include <SDL.h>

class Map;

namespace bench
{
struct ViewLoad
{
    int cameraX = 0;
    int cameraY = 0;
    long long tilePixels = 0;   // pixels of both tile layers inside the screen
    long long entityPixels = 0; // pixels of the registered entities' boxes inside the screen
    int entities = 0;           // registered entities at least partly on screen

    long long Pixels() const { return tilePixels + entityPixels; }
};

// The pixels the level drawing writes (transparent ones included) with the camera at (cameraX, cameraY).
ViewLoad MeasureView(Map& map, int cameraX, int cameraY, const SDL_Surface* screen);

// The camera position, among those the level drawing can choose, with the most pixels to draw; ties go to
// the one found first (top to bottom, left to right). Positions are tried every 4 pixels. Moves the camera.
ViewLoad FindBusiestView(Map& map, const SDL_Surface* screen);
} // namespace bench
