// Raw pixel access, lines and circles, the starfield and the program's random numbers.
#include "graphics/Utils.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace Utils
{
std::minstd_rand0 rand_gen(1);

namespace
{
bool Inside(const SDL_Surface* surface, int x, int y)
{
    return surface && x >= 0 && y >= 0 && x < surface->w && y < surface->h;
}

// A uniform integer in [low, high] from rand_gen, drawn exactly as the standard library's uniform
// integer distribution draws from minstd_rand0 (downscaling with rejection), so star positions
// are the same on every platform.
int Uniform(int low, int high)
{
    if (low > high)
    {
        std::swap(low, high);
    }
    const long long span = static_cast<long long>(high) - low;
    // Values of the generator minus its minimum lie in [0, 2147483645].
    constexpr unsigned long long generatorRange = 2147483645ULL;
    if (span >= static_cast<long long>(generatorRange))
    {
        // Wider than one draw: let the library combine several draws.
        return std::uniform_int_distribution<int>(low, high)(rand_gen);
    }
    const unsigned long long count = static_cast<unsigned long long>(span) + 1;
    const unsigned long long scale = generatorRange / count;
    const unsigned long long limit = count * scale;
    unsigned long long value;
    do
    {
        value = static_cast<unsigned long long>(rand_gen()) - 1;
    } while (value >= limit);
    return static_cast<int>(low + static_cast<long long>(value / scale));
}

void PlaceStar(Star& star, int minX, int width, int height)
{
    star.x = Uniform(minX, width);
    star.y = Uniform(0, height);
    star.speed = Uniform(1, 12);
}
} // namespace

void PutPixel(SDL_Surface* surface, int x, int y, unsigned int pixel)
{
    if (!Inside(surface, x, y))
    {
        return;
    }
    const int bytes = surface->format->BytesPerPixel;
    Uint8* at =
        static_cast<Uint8*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch + x * bytes;
    switch (bytes)
    {
    case 1:
        *at = static_cast<Uint8>(pixel);
        break;
    case 2:
    {
        const Uint16 value = static_cast<Uint16>(pixel);
        std::memcpy(at, &value, sizeof value);
        break;
    }
    case 3:
        at[0] = static_cast<Uint8>(pixel);
        at[1] = static_cast<Uint8>(pixel >> 8);
        at[2] = static_cast<Uint8>(pixel >> 16);
        break;
    case 4:
    {
        const Uint32 value = pixel;
        std::memcpy(at, &value, sizeof value);
        break;
    }
    default:
        break;
    }
}

unsigned int GetPixel(SDL_Surface* surface, int x, int y)
{
    if (!Inside(surface, x, y))
    {
        return 0;
    }
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) +
                      static_cast<std::ptrdiff_t>(y) * surface->pitch + x * bytes;
    switch (bytes)
    {
    case 1:
        return *at;
    case 2:
    {
        Uint16 value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case 3:
        return static_cast<unsigned int>(at[0]) | static_cast<unsigned int>(at[1]) << 8 |
               static_cast<unsigned int>(at[2]) << 16;
    case 4:
    {
        Uint32 value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    default:
        return 0;
    }
}

void Line(SDL_Surface* surface, double x1, double y1, double x2, double y2, unsigned int pixel)
{
    int x = static_cast<int>(x1);
    int y = static_cast<int>(y1);
    const int endX = static_cast<int>(x2);
    const int endY = static_cast<int>(y2);
    const int dx = std::abs(endX - x);
    const int dy = -std::abs(endY - y);
    const int stepX = x < endX ? 1 : -1;
    const int stepY = y < endY ? 1 : -1;
    int error = dx + dy;
    for (;;)
    {
        PutPixel(surface, x, y, pixel);
        if (x == endX && y == endY)
        {
            break;
        }
        const int twice = 2 * error;
        if (twice >= dy)
        {
            error += dy;
            x += stepX;
        }
        if (twice <= dx)
        {
            error += dx;
            y += stepY;
        }
    }
}

void Circle(SDL_Surface* surface, int cx, int cy, int radius, unsigned int pixel)
{
    if (radius < 0)
    {
        return;
    }
    int x = radius;
    int y = 0;
    int stepX = 1;
    int stepY = 1;
    int error = stepX - 2 * radius;
    while (x >= y)
    {
        PutPixel(surface, cx + x, cy - y, pixel);
        PutPixel(surface, cx + x, cy + y, pixel);
        PutPixel(surface, cx - x, cy - y, pixel);
        PutPixel(surface, cx - x, cy + y, pixel);
        PutPixel(surface, cx + y, cy - x, pixel);
        PutPixel(surface, cx + y, cy + x, pixel);
        PutPixel(surface, cx - y, cy - x, pixel);
        PutPixel(surface, cx - y, cy + x, pixel);
        if (error <= 0)
        {
            ++y;
            error += stepY;
            stepY += 2;
        }
        if (error > 0)
        {
            --x;
            stepX += 2;
            error += stepX - 2 * radius;
        }
    }
}

void InitStars(std::vector<Star>& stars, int width, int height)
{
    for (Star& star : stars)
    {
        PlaceStar(star, 0, width, height);
    }
}

void DoStars(std::vector<Star>& stars, int width, int height)
{
    for (Star& star : stars)
    {
        star.x -= star.speed;
        if (star.x < 0)
        {
            // Stars come back a little way in from the right edge.
            PlaceStar(star, 20, width, height);
        }
    }
}

void DrawStars(const std::vector<Star>& stars, SDL_Surface* surface)
{
    if (!surface)
    {
        return;
    }
    for (const Star& star : stars)
    {
        if (star.x < surface->w)
        {
            SDL_Rect dot{star.x, star.y, 1, 1};
            SDL_FillRect(surface, &dot, GetStarColor(surface, star.speed));
        }
    }
}

unsigned int GetStarColor(SDL_Surface* surface, int speed)
{
    if (!surface)
    {
        return 0;
    }
    // Faster stars are nearer, so brighter.
    Uint8 grey = 255;
    if (speed >= 1 && speed <= 3)
    {
        grey = 160;
    }
    else if (speed >= 4 && speed <= 6)
    {
        grey = 192;
    }
    else if (speed >= 7 && speed <= 9)
    {
        grey = 224;
    }
    return SDL_MapRGB(surface->format, grey, grey, grey);
}

unsigned int GetColor(unsigned int value)
{
    return value & 0xFFFFFFu;
}

int TruncateToInt(double value)
{
    if (!(value > static_cast<double>(INT_MIN)))
    {
        return std::isnan(value) ? 0 : INT_MIN;
    }
    if (value >= static_cast<double>(INT_MAX))
    {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

int RandomInteger(int min, int max)
{
    return Uniform(min, max);
}
} // namespace Utils
