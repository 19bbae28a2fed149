// Reading and writing a level being edited in the game's formats: description, layer pictures, placement.
#include "editor/LevelDocument.h"

#include "io/FieldReader.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace
{
struct SurfaceFree
{
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/') + 1);
}

std::string StemOf(const std::string& path)
{
    return std::filesystem::path(path).stem().string();
}

// A picture read as 32-bit XRGB, whatever its file holds.
SurfacePtr ReadPicture(const std::string& file)
{
    SurfacePtr loaded(IMG_Load(file.c_str()));
    if (!loaded)
    {
        throw std::runtime_error("Unable to open map: " + file + " (" + IMG_GetError() + ")");
    }
    SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB888, 0));
    if (!converted)
    {
        throw std::runtime_error("Unable to open map: " + file + " (" + SDL_GetError() + ")");
    }
    return converted;
}

// An SDL stream that appends everything written to a string: a picture is encoded whole in memory, so
// that a failing write is caught where the file is written, which SDL_image would not report.
SDL_RWops* StringWriter(std::string& bytes)
{
    SDL_RWops* stream = SDL_AllocRW();
    if (stream == nullptr)
    {
        return nullptr;
    }
    stream->type = SDL_RWOPS_UNKNOWN;
    stream->hidden.unknown.data1 = &bytes;
    stream->size = [](SDL_RWops* self) -> Sint64
    { return static_cast<Sint64>(static_cast<std::string*>(self->hidden.unknown.data1)->size()); };
    stream->seek = [](SDL_RWops* self, Sint64 offset, int whence) -> Sint64
    {
        const auto size = static_cast<Sint64>(static_cast<std::string*>(self->hidden.unknown.data1)->size());
        // Only telling where it stands: the encoder writes straight through.
        return offset == 0 && whence != RW_SEEK_SET ? size : SDL_SetError("a picture is written in one pass");
    };
    stream->read = [](SDL_RWops*, void*, size_t, size_t) -> size_t { return 0; };
    stream->write = [](SDL_RWops* self, const void* data, size_t size, size_t count) -> size_t
    {
        static_cast<std::string*>(self->hidden.unknown.data1)
            ->append(static_cast<const char*>(data), size * count);
        return count;
    };
    stream->close = [](SDL_RWops* self) -> int
    {
        SDL_FreeRW(self);
        return 0;
    };
    return stream;
}

// Encoded as the level compiler writes its pictures: 24-bit, no metadata, so equal layers give equal files.
std::string PictureBytes(const std::string& file, const std::vector<std::uint32_t>& cells, int width,
                         int height)
{
    SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_RGB24));
    if (!surface)
    {
        throw std::runtime_error("cannot write " + file + ": " + SDL_GetError());
    }
    auto* bytes = static_cast<std::uint8_t*>(surface->pixels);
    for (int y = 0; y < height; ++y)
    {
        std::uint8_t* row = bytes + static_cast<std::size_t>(y) * surface->pitch;
        for (int x = 0; x < width; ++x)
        {
            std::uint32_t rgb = cells[static_cast<std::size_t>(y) * width + x];
            row[3 * x] = static_cast<std::uint8_t>(rgb >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(rgb >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(rgb);
        }
    }
    std::string png;
    SDL_RWops* stream = StringWriter(png);
    if (stream == nullptr || IMG_SavePNG_RW(surface.get(), stream, 1) != 0)
    {
        throw std::runtime_error("cannot write " + file + ": " + IMG_GetError());
    }
    return png;
}
} // namespace

void LevelDocument::WriteText(const std::string& file, const std::string& text)
{
    WriteFiles({{file, text}});
}

void LevelDocument::WriteFiles(const PlayerFile::Contents& files)
{
    std::string why;
    if (!PlayerFile::WriteAll(files, &why))
    {
        std::cerr << "kestrovane: cannot write " << why << std::endl;
        throw std::runtime_error("cannot write " + why);
    }
}

std::string LevelDocument::Hex(std::uint32_t color)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(color & 0xFFFFFF));
    return text;
}

LevelDocument::LevelDocument(int width, int height) : mWidth(0), mHeight(0)
{
    Resize(width, height);
}

std::uint32_t LevelDocument::Cell(int layer, int x, int y) const
{
    return Inside(x, y) ? mLayers[layer][static_cast<std::size_t>(y) * mWidth + x] : 0;
}

void LevelDocument::SetCell(int layer, int x, int y, std::uint32_t color)
{
    if (Inside(x, y))
    {
        mLayers[layer][static_cast<std::size_t>(y) * mWidth + x] = color & 0xFFFFFF;
    }
}

void LevelDocument::Resize(int width, int height)
{
    if (width < 1 || height < 1 || static_cast<long long>(width) * height > mMaxCells)
    {
        throw std::runtime_error("a level cannot be " + std::to_string(width) + "x" + std::to_string(height));
    }
    for (auto& layer : mLayers)
    {
        std::vector<std::uint32_t> resized(static_cast<std::size_t>(width) * height, 0);
        for (int y = 0; y < std::min(height, mHeight); ++y)
        {
            for (int x = 0; x < std::min(width, mWidth); ++x)
            {
                resized[static_cast<std::size_t>(y) * width + x] =
                    layer[static_cast<std::size_t>(y) * mWidth + x];
            }
        }
        layer = std::move(resized);
    }
    mWidth = width;
    mHeight = height;
}

int LevelDocument::EntityAt(int x, int y) const
{
    for (std::size_t i = 0; i < mEntities.size(); ++i)
    {
        if (mEntities[i].mX == x && mEntities[i].mY == y)
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void LevelDocument::Load(const std::string& path)
{
    ReadDescription(path);
    const std::string folder = FolderOf(path);
    ReadLayers(folder);
    ReadPlacement(folder + mEntitiesName);
}

void LevelDocument::ReadDescription(const std::string& path)
{
    FieldReader reader(path);
    if (!reader.IsOpen())
    {
        throw std::runtime_error("Unable to load level " + path + ": the level file cannot be opened");
    }
    mDescription.clear();
    mDescriptionRest.clear();
    mNamesLine = -1;
    bool opening = true;
    std::string line;
    std::vector<std::string> fields;
    while (reader.ReadLine(line))
    {
        if (opening && FieldReader::IsComment(line))
        {
            std::string text = line.substr(line.compare(0, 3, "// ") == 0 ? 3 : 2);
            mDescription += (mDescription.empty() ? "" : "\n") + text;
            continue;
        }
        opening = false;
        if (!FieldReader::IsComment(line))
        {
            FieldReader::Split(line, fields);
            // As the game reads it, the last line with three names wins.
            if (fields.size() >= 3)
            {
                mBackgroundName = fields[0];
                mCollisionName = fields[1];
                mEntitiesName = fields[2];
                mNamesLine = static_cast<int>(mDescriptionRest.size());
            }
        }
        mDescriptionRest.push_back(line);
    }
    if (mNamesLine < 0)
    {
        throw std::runtime_error("Unable to load level " + path +
                                 ": it names no layer pictures and placement file");
    }
}

void LevelDocument::ReadLayers(const std::string& folder)
{
    SurfacePtr background = ReadPicture(folder + mBackgroundName);
    const long long cells = static_cast<long long>(background->w) * background->h;
    if (cells > mMaxCells)
    {
        throw std::runtime_error("Unable to open map: " + mBackgroundName + " is too large");
    }
    SurfacePtr collision = ReadPicture(folder + mCollisionName);
    mWidth = background->w;
    mHeight = background->h;
    SDL_Surface* pictures[2] = {background.get(), collision.get()};
    for (int layer = 0; layer < 2; ++layer)
    {
        SDL_Surface* picture = pictures[layer];
        mLayers[layer].assign(static_cast<std::size_t>(cells), 0);
        // The game reads a smaller collision picture as colour 0 beyond its edges.
        for (int y = 0; y < std::min(mHeight, picture->h); ++y)
        {
            const auto* row =
                reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(picture->pixels) +
                                                       static_cast<std::size_t>(y) * picture->pitch);
            for (int x = 0; x < std::min(mWidth, picture->w); ++x)
            {
                mLayers[layer][static_cast<std::size_t>(y) * mWidth + x] = row[x] & 0xFFFFFF;
            }
        }
    }
}

void LevelDocument::ReadPlacement(const std::string& file)
{
    FieldReader reader(file);
    if (!reader.IsOpen())
    {
        throw std::runtime_error("Unable to load level: its placement file " + file + " cannot be opened");
    }
    mEntities.clear();
    mPlacementTail.clear();
    std::string line;
    std::vector<std::string> fields;
    while (reader.ReadLine(line))
    {
        FieldReader::Split(line, fields);
        // An entity line has a type, a facing, a column and a row; the player needs no identifier. Any
        // other line is kept as written, to be written back in its place.
        bool entity =
            !FieldReader::IsComment(line) && fields.size() >= 4 && (fields[1] == "0" || fields[1] == "1");
        PlacedEntity placed;
        if (entity)
        {
            placed.mType = fields[0];
            placed.mDirection = fields[1] == "1";
            std::size_t usedX = 0;
            std::size_t usedY = 0;
            try
            {
                placed.mX = std::stoi(fields[2], &usedX);
                placed.mY = std::stoi(fields[3], &usedY);
            }
            catch (const std::exception&)
            {
                usedX = 0;
            }
            entity = usedX != 0 && usedX == fields[2].size() && usedY == fields[3].size();
            placed.mID = fields.size() >= 5 ? fields[4] : std::string();
        }
        if (!entity)
        {
            mPlacementTail.push_back(line);
            continue;
        }
        placed.mLinesBefore = std::move(mPlacementTail);
        mPlacementTail.clear();
        mEntities.push_back(std::move(placed));
    }
}

std::string LevelDocument::Music() const
{
    std::string music;
    std::vector<std::string> fields;
    for (const std::string& line : mDescriptionRest)
    {
        if (FieldReader::IsComment(line))
        {
            continue;
        }
        FieldReader::Split(line, fields);
        if (fields.size() == 2 && fields[0] == "music")
        {
            music = fields[1];
        }
    }
    return music;
}

std::string LevelDocument::DescriptionComments() const
{
    std::ostringstream text;
    std::istringstream lines(mDescription);
    std::string line;
    while (std::getline(lines, line))
    {
        text << "// " << line << '\n';
    }
    return text.str();
}

std::string LevelDocument::DescriptionText() const
{
    std::ostringstream text;
    text << DescriptionComments();
    const std::string names = mBackgroundName + ' ' + mCollisionName + ' ' + mEntitiesName;
    if (mNamesLine < 0)
    {
        text << names << '\n';
    }
    for (std::size_t i = 0; i < mDescriptionRest.size(); ++i)
    {
        text << (static_cast<int>(i) == mNamesLine ? names : mDescriptionRest[i]) << '\n';
    }
    return text.str();
}

std::string LevelDocument::PlacementText() const
{
    std::ostringstream text;
    for (const PlacedEntity& entity : mEntities)
    {
        for (const std::string& line : entity.mLinesBefore)
        {
            text << line << '\n';
        }
        text << entity.Line() << '\n';
    }
    for (const std::string& line : mPlacementTail)
    {
        text << line << '\n';
    }
    return text.str();
}

void LevelDocument::Save(const std::string& path)
{
    const std::string stem = StemOf(path);
    if (mBackgroundName.empty() || mCollisionName.empty() || mEntitiesName.empty())
    {
        mBackgroundName = stem + "_bg.png";
        mCollisionName = stem + "_col.png";
        mEntitiesName = stem + ".ent";
    }
    const std::string folder = FolderOf(path);
    // All four or none: the description, which names the others, takes its place last.
    WriteFiles({
        {folder + mBackgroundName, PictureBytes(mBackgroundName, mLayers[Backdrop], mWidth, mHeight)},
        {folder + mCollisionName, PictureBytes(mCollisionName, mLayers[Foreground], mWidth, mHeight)},
        {folder + mEntitiesName, PlacementText()},
        {path, DescriptionText()},
    });
}
