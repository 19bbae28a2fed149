// Compares the atlas the levels make now with the committed one, saying what differs and how to renew it.
#pragma once

#include <SDL.h>

#include <filesystem>
#include <ostream>
#include <string>

class AtlasCheck
{
  public:
    explicit AtlasCheck(std::ostream& report) : mReport(report) {}

    // The committed page must hold exactly the fresh text; the first differing line is reported.
    bool PageMatches(const std::filesystem::path& committed, const std::string& fresh) const;
    // The committed picture must be there with the fresh one's size and colours, pixel for pixel.
    bool PictureMatches(const std::filesystem::path& committed, SDL_Surface* fresh) const;
    // Every level picture the README shows must still be there: levels get renamed.
    bool ReadmePicturesExist(const std::filesystem::path& readme, const std::filesystem::path& docs) const;

  private:
    std::ostream& mReport;
};
