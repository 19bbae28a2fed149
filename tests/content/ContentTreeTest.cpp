// The generated data tree: every file the game names is there, loads, and fits the screens that use it.
#include "TestSupport.h"
#include "entities/Entity.h"
#include "world/EntityType.h"
#include "world/EntityTypeManager.h"
#include "world/Map.h"
#include "world/TileManager.h"
#include "world/TileType.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
using Surface = test::SurfacePtr;

// A picture as 32-bit ARGB, so pixels can be read alike whatever the PNG's own format.
Surface LoadPicture(const std::string& name)
{
    SDL_Surface* loaded = IMG_Load(("data/gfx/" + name).c_str());
    if (loaded == nullptr)
        return Surface();
    Surface converted(SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0));
    SDL_FreeSurface(loaded);
    return converted;
}

Uint32 Rgb(const SDL_Surface* surface, int x, int y)
{
    const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<const Uint32*>(row)[x] & 0xFFFFFF;
}

double Luminance(const SDL_Surface* surface, int x, int y)
{
    const Uint32 rgb = Rgb(surface, x, y);
    return 0.299 * (rgb >> 16) + 0.587 * ((rgb >> 8) & 0xFF) + 0.114 * (rgb & 0xFF);
}

// Text drawn over rows y..y+7 from x to right lies over open sky: no shape of two or more lit pixels side
// by side, only single stars. Names the first shape found.
void ExpectOnlySkyBehind(const SDL_Surface* bg, int x, int right, int y, const std::string& what)
{
    auto lit = [bg](int px, int py) { return Luminance(bg, px, py) >= 40.0; };
    for (int row = y; row < y + 8; ++row)
        for (int column = x; column + 1 < right; ++column)
            if (lit(column, row) && lit(column + 1, row))
            {
                ADD_FAILURE() << "a shape behind " << what << " at " << column << "," << row;
                return;
            }
}

const Uint32 kKey = 0x800080;

std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> LevelNames()
{
    return Lines("data/maps/maps.lst");
}

// One line of a placement file: type, facing, column, row, identifier.
struct Placement
{
    std::string mType;
    int mColumn = 0;
    int mRow = 0;
    std::string mID;
};

std::vector<Placement> Placements(const std::string& file)
{
    std::vector<Placement> placements;
    for (const std::string& line : Lines("data/maps/" + file))
    {
        if (line.compare(0, 2, "//") == 0 || line.empty())
            continue;
        std::istringstream fields(line);
        Placement placement;
        int facing = 0;
        fields >> placement.mType >> facing >> placement.mColumn >> placement.mRow >> placement.mID;
        placements.push_back(placement);
    }
    return placements;
}
} // namespace

TEST(ContentPictures, EveryPictureLoadsWithTheSizeItsScreenNeeds)
{
    struct Expected
    {
        const char* mName;
        int mMinWidth, mMinHeight, mMaxWidth, mMaxHeight;
    };
    // Title drawn at y 40 must end above the menu at 160; the settings heading at y 16 above its first line
    // at 58.
    const Expected pictures[] = {
        {"font.png", 96, 64, 4096, 4096},
        {"tiles.png", 256, 64, 4096, 4096},
        {"sprites.png", 256, 48, 4096, 4096},
        {"hud.png", 72, 24, 320, 240},
        {"arrow.png", 4, 4, 8, 8},
        {"bg.png", 320, 240, 320, 240},
        {"title.png", 80, 16, 320, 120},
        {"settings.png", 40, 8, 320, 42},
    };
    for (const Expected& expected : pictures)
    {
        Surface picture = LoadPicture(expected.mName);
        ASSERT_TRUE(picture) << expected.mName << ": " << IMG_GetError();
        EXPECT_GE(picture->w, expected.mMinWidth) << expected.mName;
        EXPECT_GE(picture->h, expected.mMinHeight) << expected.mName;
        EXPECT_LE(picture->w, expected.mMaxWidth) << expected.mName;
        EXPECT_LE(picture->h, expected.mMaxHeight) << expected.mName;
    }
}

TEST(ContentPictures, FontHasInkForEveryPrintableCharacterButSpace)
{
    Surface font = LoadPicture("font.png");
    ASSERT_TRUE(font);
    for (int index = 0; index < 95; ++index)
    {
        int ink = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ink += Rgb(font.get(), index % 12 * 8 + x, index / 12 * 8 + y) != kKey;
        if (index == 0)
            EXPECT_EQ(0, ink) << "the space must be empty";
        else
            EXPECT_GE(ink, 2) << "glyph for '" << static_cast<char>(32 + index) << "'";
    }
}

TEST(ContentPictures, HudFramesSurroundExactlyTheBarsTheGameFills)
{
    Surface hud = LoadPicture("hud.png");
    ASSERT_TRUE(hud);
    // Drawn at (4, 4): health fills screen x 14..37 and oxygen x 49..72, y 6..9.
    for (int left : {10, 45})
    {
        const Uint32 frame = Rgb(hud.get(), left - 1, 1);
        const Uint32 empty = Rgb(hud.get(), left, 2);
        EXPECT_NE(kKey, frame);
        EXPECT_NE(kKey, empty);
        EXPECT_NE(frame, empty);
        for (int x = left - 1; x <= left + 24; ++x)
        {
            EXPECT_EQ(frame, Rgb(hud.get(), x, 1)) << x;
            EXPECT_EQ(frame, Rgb(hud.get(), x, 6)) << x;
        }
        for (int y = 1; y <= 6; ++y)
        {
            EXPECT_EQ(frame, Rgb(hud.get(), left - 1, y)) << y;
            EXPECT_EQ(frame, Rgb(hud.get(), left + 24, y)) << y;
        }
        for (int y = 2; y <= 5; ++y)
            for (int x = left; x < left + 24; ++x)
                EXPECT_EQ(empty, Rgb(hud.get(), x, y)) << x << "," << y;
    }
}

TEST(ContentPictures, BackgroundIsDarkEnoughForLightGreyText)
{
    // Menu text sits at y 168..236; story text may fall anywhere, where only a few star pixels may be bright.
    Surface bg = LoadPicture("bg.png");
    ASSERT_TRUE(bg);
    int bright = 0;
    for (int y = 0; y < bg->h; ++y)
    {
        for (int x = 0; x < bg->w; ++x)
        {
            if (Luminance(bg.get(), x, y) >= 100.0)
            {
                ++bright;
                EXPECT_LT(y, 160) << "bright pixel behind the menu text at " << x << "," << y;
            }
        }
    }
    EXPECT_LT(bright, bg->w * bg->h / 500);
}

TEST(ContentPictures, SettingsOptionLinesCrossOnlySky)
{
    // The option lines: arrow at x 84, "Music Volume: 100%" ends at 236.
    Surface bg = LoadPicture("bg.png");
    ASSERT_TRUE(bg);
    for (int line : {60, 68, 76, 84, 108, 116, 124, 148, 156, 180, 188})
        ExpectOnlySkyBehind(bg.get(), 84, 240, line, "the option line");
}

TEST(ContentTables, EveryNameTheGameLooksUpIsDefinedAndDrawable)
{
    EntityTypeManager types;
    ASSERT_TRUE(types.InitEntityTypes("data/maps/entitytypes.cfg", 16));
    Surface sprites = LoadPicture("sprites.png");
    ASSERT_TRUE(sprites);
    const std::map<std::string, unsigned> frames = {{"Player", 16}, {"Bullet", 1},    {"Blob1", 4},
                                                    {"Blob2", 4},   {"Blob3", 4},     {"OxygenTank", 2},
                                                    {"Health", 2},  {"Keycard", 2},   {"KeycardLock", 2},
                                                    {"Weapon", 2},  {"ShipDoor1", 2}, {"ShipDoor2", 2}};
    for (const auto& [name, count] : frames)
    {
        EntityType* type = types.GetEntityType(name);
        ASSERT_NE(nullptr, type) << name;
        EXPECT_LE(type->mSourceX + 16 * (type->mIsAnimated ? count : 1), static_cast<unsigned>(sprites->w))
            << name;
        EXPECT_LE(type->mSourceY + 16, static_cast<unsigned>(sprites->h)) << name;
    }
    // The player's counter drives its animations and its death, and it jumps upwards.
    EXPECT_TRUE(types.GetEntityType("Player")->mIsAnimated);
    EXPECT_LT(types.GetEntityType("Player")->mJumpSpeed, 0.0);
    EXPECT_EQ(0.0, types.GetEntityType("Bullet")->mJumpSpeed);
    // Only a closed door with a value can be opened, and only an open one can be walked into.
    EXPECT_TRUE(types.GetEntityType("ShipDoor1")->mHasValue);
    EXPECT_TRUE(types.GetEntityType("ShipDoor1")->mIsBlockingMotion);
    EXPECT_FALSE(types.GetEntityType("ShipDoor2")->mIsBlockingMotion);
    for (const char* enemy : {"Blob1", "Blob2", "Blob3"})
        EXPECT_EQ("Enemy", types.GetEntityType(enemy)->mBaseType) << enemy;
}

TEST(ContentTables, EveryTilePictureLiesInsideTheTileSheet)
{
    TileManager tiles;
    ASSERT_TRUE(tiles.InitTileTypes("data/maps/tiletypes.cfg", 16));
    Surface sheet = LoadPicture("tiles.png");
    ASSERT_TRUE(sheet);
    ASSERT_NE(nullptr, tiles.GetTileType("0")) << "empty cells need a type";
    EXPECT_EQ("0", tiles.GetTileType("0")->mImage);
    EXPECT_FALSE(tiles.GetTileType("0")->mIsBlockingMotion);
    int harmful = 0;
    for (const auto& [key, type] : tiles.mTileTypes)
    {
        harmful += type->mIsHarmful;
        if (type->mImage == "0")
            continue;
        EXPECT_EQ("tiles", type->mImage) << key;
        EXPECT_LE(type->mSourceX + (type->mIsAnimated ? 32u : 16u), static_cast<unsigned>(sheet->w)) << key;
        EXPECT_LE(type->mSourceY + 16, static_cast<unsigned>(sheet->h)) << key;
    }
    EXPECT_GT(harmful, 0);
}

TEST(ContentLevels, EveryListedLevelLoadsWithDefinedColoursAndOnePlayer)
{
    const std::vector<std::string> levels = LevelNames();
    ASSERT_GE(levels.size(), 5u);
    for (const std::string& name : levels)
    {
        SCOPED_TRACE(name);
        Map map;
        ASSERT_TRUE(map.Load("data/maps/" + name, test::ArgbRendererInfo()));
        EXPECT_GE(map.mWidth, 20);
        EXPECT_GE(map.mHeight, 15);
        for (const std::vector<std::string>* layer : {&map.mBackgroundLayer, &map.mCollisionLayer})
        {
            ASSERT_EQ(static_cast<std::size_t>(map.mWidth * map.mHeight), layer->size());
            for (const std::string& key : *layer)
                ASSERT_NE(nullptr, map.mTileManager->GetTileType(key))
                    << "colour " << key << " not in tiletypes.cfg";
        }
        int players = 0;
        for (const Placement& placement : Placements(map.mEntitiesFile))
        {
            EntityType* type = map.mEntityTypeManager->GetEntityType(placement.mType);
            ASSERT_NE(nullptr, type) << placement.mType;
            players += type->mBaseType == "Player";
            // Nothing is placed inside a wall.
            const std::string& cell = map.mCollisionLayer[placement.mRow * map.mWidth + placement.mColumn];
            EXPECT_FALSE(map.mTileManager->GetTileType(cell)->mIsBlockingMotion)
                << placement.mType << " at " << placement.mColumn << "," << placement.mRow;
        }
        EXPECT_EQ(1, players);
        ASSERT_NE(-1, map.mPlayerStartX);
        // The player starts standing on something.
        const std::string& below =
            map.mCollisionLayer[(map.mPlayerStartY + 1) * map.mWidth + map.mPlayerStartX];
        EXPECT_TRUE(map.mTileManager->GetTileType(below)->mIsBlockingMotion);
    }
}

TEST(ContentLevels, EveryLevelHasAWayOutAndTheLevelsTogetherUseEveryMechanic)
{
    std::set<std::string> used;
    for (const std::string& name : LevelNames())
    {
        SCOPED_TRACE(name);
        Map map;
        ASSERT_TRUE(map.Load("data/maps/" + name, test::ArgbRendererInfo()));
        std::multiset<std::string> types;
        std::set<std::string> lockIDs;
        std::set<std::string> doorIDs;
        for (const Placement& placement : Placements(map.mEntitiesFile))
        {
            types.insert(placement.mType);
            used.insert(placement.mType);
            if (placement.mType == "KeycardLock")
                lockIDs.insert(placement.mID);
            if (placement.mType == "ShipDoor1")
                doorIDs.insert(placement.mID);
        }
        for (const std::string& door : doorIDs)
            EXPECT_TRUE(lockIDs.count(door)) << "no lock opens door " << door;
        const bool lockedExit = !doorIDs.empty() && types.count("Keycard") >= doorIDs.size();
        EXPECT_TRUE(types.count("ShipDoor2") > 0 || lockedExit) << "no way out";
        for (const std::string& key : map.mCollisionLayer)
            if (map.mTileManager->GetTileType(key)->mIsHarmful)
                used.insert("harmful tile");
    }
    for (const char* mechanic : {"Blob1", "Blob2", "Blob3", "Health", "OxygenTank", "Keycard", "KeycardLock",
                                 "Weapon", "ShipDoor1", "ShipDoor2", "harmful tile"})
        EXPECT_TRUE(used.count(mechanic)) << mechanic << " appears in no level";
}

// The story is typed from (8, 8), a line every 8 rows, one character per 4 updates and one more step per
// line: it must stay clear of the derelict and the planet, and end while the player still reads. Its
// ending page, after the line "[ending]", is a screen of its own by the same rules.
TEST(ContentStory, CrossesOnlySkyAndTypesOutInUnder50Seconds)
{
    Surface bg = LoadPicture("bg.png");
    ASSERT_TRUE(bg);
    int shown = 0;
    std::size_t steps = 0;
    int pages = 1;
    for (const std::string& line : Lines("data/story.txt"))
    {
        if (line.compare(0, 2, "//") == 0)
            continue;
        if (line == "[ending]")
        {
            EXPECT_GT(shown, 0);
            EXPECT_LE(steps * 4, 50u * 30u) << "updates to type the opening";
            shown = 0;
            steps = 0;
            ++pages;
            continue;
        }
        EXPECT_LE(line.size(), 38u) << "keeps a right margin as wide as the left: " << line;
        ASSERT_LE(16 + 8 * shown, bg->h) << "story line " << shown << " falls below the screen";
        ExpectOnlySkyBehind(bg.get(), 8, 8 + 8 * static_cast<int>(std::min<std::size_t>(line.size(), 39)),
                            8 + 8 * shown, "story line " + std::to_string(shown));
        ++shown;
        steps += line.size() + 1;
    }
    EXPECT_GT(shown, 0);
    EXPECT_LE(steps * 4, 50u * 30u) << "updates to type the story";
    EXPECT_EQ(2, pages) << "the opening and the ending";
}
