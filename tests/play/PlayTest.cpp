// The fixture of the play tests: tiny rooms written into a temporary folder and a game begun on them.
#include "PlayTest.h"

std::vector<std::string> PlayTest::Room()
{
    std::vector<std::string> rows(12, "#..................#");
    rows.insert(rows.end(), 3, std::string(20, '#'));
    return rows;
}

test::LevelFiles PlayTest::Level(const std::string& name, const std::string& placement,
                                 std::vector<std::string> rows)
{
    test::LevelFiles level;
    level.name = name;
    level.background = std::move(rows);
    level.placement = placement;
    return level;
}

bool PlayTest::Begin(const std::vector<test::LevelFiles>& levels, const std::vector<std::string>& list)
{
    std::vector<std::string> names = list;
    for (const test::LevelFiles& level : levels)
    {
        test::WriteLevel(mDir, level);
        if (list.empty())
        {
            names.push_back(level.name);
        }
    }
    test::WritePlayData(mDir, names);
    if (mAllScreens)
    {
        test::WriteMenuPictures(mDir);
    }
    using Screens = test::PlayHarness::Screens;
    mHarness = std::make_unique<test::PlayHarness>(false, mAllScreens ? Screens::Game : Screens::Idle);
    return mHarness->BeginGame();
}

void PlayTest::BeginPlaying(const test::LevelFiles& level)
{
    ASSERT_TRUE(Begin({level}));
    H().SkipFadeIn();
    ASSERT_EQ(0, P().mAlpha);
}

void PlayTest::PlacePlayer(double x, double y)
{
    Pl().SetX(x);
    Pl().SetY(y);
    Pl().SetDX(0.0);
    Pl().SetDY(0.0);
    Pl().SetIsOnGround(false);
}

Entity* PlayTest::Find(const std::string& baseType, const std::string& type)
{
    return M().GetEntity(baseType, type);
}

int PlayTest::Count(const std::string& baseType, const std::string& type)
{
    if (baseType == "Enemy")
    {
        return static_cast<int>(M().mEnemies.count(type));
    }
    if (baseType == "Item")
    {
        return static_cast<int>(M().mItems.count(type));
    }
    return static_cast<int>(M().mEntities.count(type));
}

bool PlayTest::TickUntilGrounded(int limit)
{
    for (int i = 0; i < limit; ++i)
    {
        H().Tick();
        if (Pl().GetIsOnGround())
        {
            return true;
        }
    }
    return false;
}
