// Loading a level: its description, its two layer images and its managers.
#include "world/Map.h"

#include "graphics/Image.h"
#include "graphics/Utils.h"
#include "io/FieldReader.h"

#include <stdexcept>
#include <unordered_map>

namespace
{
const std::string kMapFolder = "data/maps/";
// Every cell holds its key twice over (two layers); a level beyond this would take gigabytes and
// seconds to read, and no playable level comes near it.
constexpr long long kMaxCells = 1024 * 1024;

// The folder of a level description, where the files it names are kept: "data/maps/" for the game's own
// levels, wherever a level maker keeps theirs otherwise.
std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/') + 1);
}

// Loads a layer image in the renderer's format, without colour key.
std::unique_ptr<Image> LoadLayerImage(const std::string& folder, const std::string& name,
                                      SDL_RendererInfo info)
{
    auto image = std::make_unique<Image>();
    image->Load(folder + name, info, false, Image::mKeyRed, Image::mKeyGreen, Image::mKeyBlue);
    return image;
}
} // namespace

Map::~Map()
{
    // Entities point at entity types and tiles at tile types, so the entities go first.
    Clear();
    mTileManager.reset();
    mImageManager.reset();
    mEntityTypeManager.reset();
}

void Map::Clear()
{
    mBackgroundLayer.clear();
    mCollisionLayer.clear();
    mHasVents = false;
    ClearEntities();
}

bool Map::Load(const std::string& path, SDL_RendererInfo info)
{
    mLoadFailure.clear();
    {
        FieldReader reader(path);
        if (!reader.IsOpen())
        {
            mLoadFailure = "the level file cannot be opened";
            return false;
        }
        std::vector<std::string> fields;
        mMusic.clear();
        while (reader.NextLine(fields))
        {
            // A tune of its own: "music <name>.ogg".
            if (fields.size() == 2 && fields[0] == "music")
            {
                mMusic = fields[1];
            }
            // The last qualifying line wins; without one the names of the previous level stay.
            if (fields.size() >= 3)
            {
                mBackgroundLayerName = fields[0];
                mCollisionLayerName = fields[1];
                mEntitiesFile = fields[2];
            }
        }
    }

    const std::string folder = FolderOf(path);
    std::unique_ptr<Image> background = LoadLayerImage(folder, mBackgroundLayerName, info);
    const long long cells = static_cast<long long>(background->mSurface->w) * background->mSurface->h;
    if (cells > kMaxCells)
    {
        throw std::runtime_error("Unable to open map: " + mBackgroundLayerName + " is too large (" +
                                 Utils::ToString(background->mSurface->w) + "x" +
                                 Utils::ToString(background->mSurface->h) + " tiles)");
    }
    mWidth = background->mSurface->w;
    mHeight = background->mSurface->h;
    mCameraX = 0;
    mCameraY = 0;

    // The old level's entities go before the managers whose types they point at.
    Clear();
    mTileTypesFile = kMapFolder + "tiletypes.cfg";
    mEntityTypesFile = kMapFolder + "entitytypes.cfg";

    mImageManager.reset();
    mImageManager = std::make_unique<ImageManager>();

    mTileManager.reset();
    mTileManager = std::make_unique<TileManager>();
    if (!mTileManager->InitTileTypes(mTileTypesFile, static_cast<unsigned>(mTileSize)))
    {
        throw std::runtime_error("Unable to initialize tile types: " + mTileTypesFile);
    }

    mEntityTypeManager.reset();
    mEntityTypeManager = std::make_unique<EntityTypeManager>();
    if (!mEntityTypeManager->InitEntityTypes(mEntityTypesFile, static_cast<unsigned>(mTileSize)))
    {
        throw std::runtime_error("Unable to initialize entity types: " + mEntityTypesFile);
    }

    if (!InitEntities(folder + mEntitiesFile))
    {
        if (mLoadFailure.empty())
        {
            mLoadFailure = "its placement file " + folder + mEntitiesFile + " cannot be opened";
        }
        return false;
    }
    mOxygenTanksTotal = mOxygenTanksLeft;

    ReadLayer(background->mSurface, mBackgroundLayer, info);
    background.reset();

    std::unique_ptr<Image> collision = LoadLayerImage(folder, mCollisionLayerName, info);
    ReadLayer(collision->mSurface, mCollisionLayer, info);
    return true;
}

void Map::ReadLayer(SDL_Surface* image, std::vector<std::string>& layer, SDL_RendererInfo info)
{
    layer.assign(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight), std::string());

    // Each colour is registered once, at its first pixel; later pixels only copy its key.
    std::unordered_map<Uint32, std::string> keys;
    bool locked = SDL_MUSTLOCK(image) && SDL_LockSurface(image) == 0;
    std::size_t cell = 0;
    for (int y = 0; y < mHeight; ++y)
    {
        for (int x = 0; x < mWidth; ++x, ++cell)
        {
            // A collision image smaller than the background reads as black beyond its edges.
            bool inside = x < image->w && y < image->h;
            Uint32 pixel = inside ? Utils::GetPixel(image, x, y) : 0;
            auto found = keys.find(pixel);
            if (found == keys.end())
            {
                Uint32 colour = 0;
                if (inside)
                {
                    Uint8 r = 0, g = 0, b = 0;
                    SDL_GetRGB(pixel, image->format, &r, &g, &b);
                    colour = (static_cast<Uint32>(r) << 16) | (static_cast<Uint32>(g) << 8) | b;
                }
                std::string key = Utils::ToString(static_cast<unsigned>(colour));
                TileType* type = mTileManager->GetTileType(key);
                if (type != nullptr)
                {
                    mHasVents = mHasVents || (&layer == &mCollisionLayer && type->IsVent());
                    mTileManager->AddTile(key, type);
                    mImageManager->AddImage("tiles", type->mImage, info, true);
                }
                else
                {
                    // A colour the table does not define is empty space: never drawn, never blocks.
                    mTileManager->AddTile(key, &Tile::mNonSolidTile);
                }
                found = keys.emplace(pixel, std::move(key)).first;
            }
            layer[cell] = found->second;
        }
    }
    if (locked)
    {
        SDL_UnlockSurface(image);
    }
}
