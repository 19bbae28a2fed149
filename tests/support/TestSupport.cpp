// Helpers shared by the tests.
#include "TestSupport.h"

#include <SDL_image.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace test
{
namespace
{
std::filesystem::path UniqueTempPath()
{
    static std::atomic<int> counter{0};
    std::ostringstream name;
    name << "kestrovane-test-" << getpid() << "-" << counter++;
    return std::filesystem::temp_directory_path() / name.str();
}
} // namespace

std::string SettingsText(const std::string& window, const std::string& keys, const std::string& sound)
{
    return "// Default config file\n// Fullscreen VSync Show FPS\n" + window +
           "\n// Controls\n// Left Right Jump Fire\n" + keys +
           "\n// Sound Music Sound Volume Music Volume\n" + sound;
}

TempDir::TempDir(bool enter) : mPath(UniqueTempPath()), mEntered(enter)
{
    std::filesystem::remove_all(mPath);
    std::filesystem::create_directories(mPath);
    if (mEntered)
    {
        mPreviousDir = std::filesystem::current_path();
        std::filesystem::current_path(mPath);
    }
}

TempDir::~TempDir()
{
    std::error_code ignored;
    if (mEntered)
    {
        std::filesystem::current_path(mPreviousDir, ignored);
    }
    std::filesystem::remove_all(mPath, ignored);
}

void TempDir::WriteFile(const std::string& relative, const std::string& content) const
{
    const std::filesystem::path path = mPath / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    if (!file)
    {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string TempDir::ReadFile(const std::string& relative) const
{
    std::ifstream file(mPath / relative, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

bool TempDir::Exists(const std::string& relative) const
{
    return std::filesystem::exists(mPath / relative);
}

void TempDir::WritePng(const std::string& relative, int width, int height,
                       const std::vector<std::uint32_t>& rgb) const
{
    SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_RGB24));
    if (!surface)
    {
        throw std::runtime_error(SDL_GetError());
    }
    for (int y = 0; y < height; ++y)
    {
        auto* row = static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < width; ++x)
        {
            const std::uint32_t value = rgb.at(static_cast<std::size_t>(y * width + x));
            row[x * 3 + 0] = static_cast<std::uint8_t>(value >> 16);
            row[x * 3 + 1] = static_cast<std::uint8_t>(value >> 8);
            row[x * 3 + 2] = static_cast<std::uint8_t>(value);
        }
    }
    const std::filesystem::path path = mPath / relative;
    std::filesystem::create_directories(path.parent_path());
    if (IMG_SavePNG(surface.get(), path.string().c_str()) != 0)
    {
        throw std::runtime_error(SDL_GetError());
    }
}

SurfacePtr MakeSurface(int width, int height, int bytesPerPixel)
{
    static const Uint32 formats[] = {SDL_PIXELFORMAT_INDEX8, SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_RGB24,
                                     SDL_PIXELFORMAT_ARGB8888};
    const Uint32 format = formats[bytesPerPixel - 1];
    return SurfacePtr(SDL_CreateRGBSurfaceWithFormat(0, width, height, bytesPerPixel * 8, format));
}

SDL_RendererInfo ArgbRendererInfo()
{
    SDL_RendererInfo info{};
    info.name = "test";
    info.num_texture_formats = 1;
    info.texture_formats[0] = SDL_PIXELFORMAT_ARGB8888;
    return info;
}

std::string MoBytes(const std::vector<std::pair<std::string, std::string>>& messages, bool bigEndian)
{
    std::string bytes;
    const auto word = [&](std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
        {
            const int shift = bigEndian ? 24 - 8 * i : 8 * i;
            bytes += static_cast<char>((value >> shift) & 0xFF);
        }
    };
    const auto count = static_cast<std::uint32_t>(messages.size());
    const std::uint32_t originals = 28;
    const std::uint32_t translations = originals + 8 * count;
    std::uint32_t offset = translations + 8 * count;
    word(0x950412de);
    word(0);
    word(count);
    word(originals);
    word(translations);
    word(0); // no hash table
    word(0);
    std::string strings;
    std::vector<std::uint32_t> table;
    for (int side = 0; side < 2; ++side)
    {
        for (const auto& message : messages)
        {
            const std::string& text = side == 0 ? message.first : message.second;
            table.push_back(static_cast<std::uint32_t>(text.size()));
            table.push_back(offset);
            strings += text + '\0';
            offset += static_cast<std::uint32_t>(text.size()) + 1;
        }
    }
    for (std::uint32_t value : table)
    {
        word(value);
    }
    return bytes + strings;
}
} // namespace test
