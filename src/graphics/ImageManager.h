// Sprite sheets of a level, loaded once from "data/gfx/" and found by name.
#pragma once

#include "graphics/Image.h"

#include <SDL.h>

#include <map>
#include <memory>
#include <string>

class ImageManager
{
  public:
    // Loads "data/gfx/" + file + ".png" under name unless the name is taken already.
    void AddImage(const std::string& file, const std::string& name, SDL_RendererInfo info, bool colorKey);
    // The image under name, or null.
    Image* GetImage(const std::string& name);
    void RemoveImage(const std::string& name);

    std::map<std::string, std::unique_ptr<Image>> mImages;
};
