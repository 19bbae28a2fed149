// Pixel access, small drawing primitives, the starfield, the random generator and text/value conversion.
#pragma once

#include <SDL.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace Utils
{
// One star of the background starfield; speed (1..12) also sets its brightness.
struct Star
{
    int x;
    int y;
    int speed;
};

// The program's single random generator, seeded with 1: every run draws the same sequence.
extern std::minstd_rand0 rand_gen;

// Raw pixel access for 1- to 4-byte surfaces; out-of-range positions are ignored (read as 0).
void PutPixel(SDL_Surface* surface, int x, int y, unsigned int pixel);
unsigned int GetPixel(SDL_Surface* surface, int x, int y);

void Line(SDL_Surface* surface, double x1, double y1, double x2, double y2, unsigned int pixel);
void Circle(SDL_Surface* surface, int cx, int cy, int radius, unsigned int pixel);

void InitStars(std::vector<Star>& stars, int width, int height);
void DoStars(std::vector<Star>& stars, int width, int height);
void DrawStars(const std::vector<Star>& stars, SDL_Surface* surface);
unsigned int GetStarColor(SDL_Surface* surface, int speed);

// The red-green-blue part of a colour value read from a data file.
unsigned int GetColor(unsigned int value);

// Uniform integer in [min, max], both inclusive.
int RandomInteger(int min, int max);

// Truncates toward zero into an int; values beyond its range (an entity that fell for a very long time, a
// start far outside the level) saturate at the nearest limit, and NaN gives 0.
int TruncateToInt(double value);

// Text to value with formatted-stream rules: leading blanks skipped, reading stops at the first
// character that cannot continue the number, no number gives 0 (false).
template <typename T> T ConvertString(const std::string& text, bool hex)
{
    std::istringstream stream(text);
    if (hex)
    {
        stream >> std::hex;
    }
    T value{};
    stream >> value;
    return value;
}

template <typename T> std::string ToString(const T& value)
{
    std::ostringstream stream;
    stream << value;
    return stream.str();
}

template <> inline std::string ToString<const char*>(const char* const& value)
{
    return value ? std::string(value) : std::string();
}
} // namespace Utils
