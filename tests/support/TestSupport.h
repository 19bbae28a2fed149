// Helpers shared by the tests: a temporary working folder with tiny fixture files, and test surfaces.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace test
{
// A fresh folder under the system temp dir, removed again at the end of the test.
// With enter = true it is also the working directory until then (the game reads "data/..." relative to it).
class TempDir
{
  public:
    explicit TempDir(bool enter = true);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return mPath; }
    // Writes text (bytes as given) to a path relative to the folder, creating parent folders.
    void WriteFile(const std::string& relative, const std::string& content) const;
    std::string ReadFile(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    // Writes a PNG whose pixels are 0xRRGGBB values, row after row (width x height entries).
    void WritePng(const std::string& relative, int width, int height,
                  const std::vector<std::uint32_t>& rgb) const;

  private:
    std::filesystem::path mPath;
    std::filesystem::path mPreviousDir;
    bool mEntered;
};

// The settings file "kesv.cfg" exactly as the game writes it, with these data lines (window: fullscreen,
// vertical sync, frame rate; the four keys; sound, music and their volumes); the defaults otherwise.
std::string SettingsText(const std::string& window = "1 0 0", const std::string& keys = "80 79 82 44",
                         const std::string& sound = "1 1 64 64");

// An owned surface of the given bytes per pixel (1 to 4), all zero.
struct SurfaceDeleter
{
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
SurfacePtr MakeSurface(int width, int height, int bytesPerPixel);

// A renderer information record whose first texture format is 32-bit ARGB, as on the test machines.
SDL_RendererInfo ArgbRendererInfo();
// A compiled gettext catalogue (".mo") holding these messages, as msgfmt lays one out: the header is the
// translation of "", a plural message's original is "singular\0plural" and its forms are joined by '\0'.
std::string MoBytes(const std::vector<std::pair<std::string, std::string>>& messages, bool bigEndian = false);

} // namespace test
