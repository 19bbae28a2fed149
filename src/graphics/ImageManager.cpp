// The named cache of sprite sheets.
#include "graphics/ImageManager.h"

void ImageManager::AddImage(const std::string& file, const std::string& name, SDL_RendererInfo info,
                            bool colorKey)
{
    // The first image stored under a name stays, whatever file a later call names.
    if (mImages.count(name) != 0)
    {
        return;
    }
    auto image = std::make_unique<Image>();
    image->Load("data/gfx/" + file + ".png", info, colorKey, Image::mKeyRed, Image::mKeyGreen,
                Image::mKeyBlue);
    mImages.emplace(name, std::move(image));
}

Image* ImageManager::GetImage(const std::string& name)
{
    const auto found = mImages.find(name);
    return found == mImages.end() ? nullptr : found->second.get();
}

void ImageManager::RemoveImage(const std::string& name)
{
    const auto found = mImages.find(name);
    if (found != mImages.end() && found->second)
    {
        mImages.erase(found);
    }
}
