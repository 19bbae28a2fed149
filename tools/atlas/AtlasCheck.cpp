// Comparing the committed level page and pictures with fresh ones.
#include "AtlasCheck.h"

#include <SDL_image.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace
{
using SurfacePtr = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Colours only: the saved picture and the drawn surface need not agree on an alpha channel.
SurfacePtr Rgb(SDL_Surface* surface)
{
    return SurfacePtr(surface ? SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB24, 0) : nullptr,
                      SDL_FreeSurface);
}
} // namespace

bool AtlasCheck::PageMatches(const fs::path& committed, const std::string& fresh) const
{
    std::istringstream old(ReadFile(committed));
    std::istringstream now(fresh);
    std::string oldLine;
    std::string newLine;
    for (int number = 1;; ++number)
    {
        const bool hasOld = static_cast<bool>(std::getline(old, oldLine));
        const bool hasNew = static_cast<bool>(std::getline(now, newLine));
        if (!hasOld && !hasNew)
            return true;
        if (!hasOld || !hasNew || oldLine != newLine)
        {
            mReport << "kesatlas: " << committed.filename().string() << " is stale from line " << number
                    << ":\n  committed: " << (hasOld ? oldLine : "(end)")
                    << "\n  fresh:     " << (hasNew ? newLine : "(end)")
                    << "\nRegenerate it with: make atlas\n";
            return false;
        }
    }
}

bool AtlasCheck::PictureMatches(const fs::path& committed, SDL_Surface* fresh) const
{
    const SurfacePtr loaded(IMG_Load(committed.string().c_str()), SDL_FreeSurface);
    if (!loaded)
    {
        mReport << "kesatlas: no picture " << committed << "\n";
        return false;
    }
    if (loaded->w != fresh->w || loaded->h != fresh->h)
    {
        mReport << "kesatlas: " << committed << " is " << loaded->w << " x " << loaded->h << ", the level "
                << fresh->w << " x " << fresh->h << "\n";
        return false;
    }
    const SurfacePtr saved = Rgb(loaded.get());
    const SurfacePtr drawn = Rgb(fresh);
    if (!saved || !drawn)
    {
        mReport << "kesatlas: cannot compare " << committed << ": " << SDL_GetError() << "\n";
        return false;
    }
    for (int y = 0; y < saved->h; ++y)
    {
        const auto* savedRow = static_cast<const Uint8*>(saved->pixels) + y * saved->pitch;
        const auto* drawnRow = static_cast<const Uint8*>(drawn->pixels) + y * drawn->pitch;
        for (int x = 0; x < saved->w; ++x)
        {
            if (std::memcmp(savedRow + 3 * x, drawnRow + 3 * x, 3) != 0)
            {
                mReport << "kesatlas: " << committed << " differs from the level at pixel " << x << "," << y
                        << "\nRegenerate it with: make atlas\n";
                return false;
            }
        }
    }
    return true;
}

bool AtlasCheck::ReadmePicturesExist(const fs::path& readme, const fs::path& docs) const
{
    const std::string text = ReadFile(readme);
    const std::string prefix = "docs/levels/";
    bool good = true;
    for (std::size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1))
    {
        const std::size_t end = text.find(".png", at);
        if (end == std::string::npos)
            break;
        const std::string name = text.substr(at + prefix.size(), end + 4 - at - prefix.size());
        if (!fs::exists(docs / "levels" / name))
        {
            mReport << "kesatlas: README.md shows docs/levels/" << name << ", which is gone\n";
            good = false;
        }
    }
    return good;
}
