// The entity rules: vertical motion guards, collision reactions, states and timers, player and HUD.
#include "TestSupport.h"
#include "WorldFixtures.h"
#include "entities/Bullet.h"
#include "entities/Enemy.h"
#include "entities/Item.h"
#include "entities/Player.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace
{
EntityType MakeType(const std::string& baseType, double jumpSpeed)
{
    EntityType type;
    type.Init(baseType, baseType, 16, 32, 0, true, false, jumpSpeed);
    return type;
}

// Updates until the state changes; the number of updates taken (at most 100).
int UpdatesUntilStateChanges(Entity& entity)
{
    EntityState start = entity.GetState();
    int updates = 0;
    while (entity.GetState() == start && updates < 100)
    {
        entity.Tick();
        ++updates;
    }
    return updates;
}
} // namespace

TEST(Entity, SetYGuardsAndVerticalCollision)
{
    EntityType still = MakeType("Entity", 0.0);
    Entity fixed;
    fixed.Init(0, 100, "a", &still);
    fixed.SetY(500);
    EXPECT_DOUBLE_EQ(fixed.GetY(), 100.0); // jump speed 0: never changes height

    EntityType jumper = MakeType("Entity", -5.0);
    Entity entity;
    entity.Init(0, 100, "b", &jumper);
    entity.SetDY(-3.0);
    entity.CheckVerticalCollision(); // a ceiling while rising: not grounded
    EXPECT_FALSE(entity.GetIsOnGround());
    EXPECT_DOUBLE_EQ(entity.GetDY(), 0.0);
    entity.CheckVerticalCollision();
    EXPECT_TRUE(entity.GetIsOnGround());
    entity.SetY(100.7); // same pixel row
    entity.SetY(90.0);  // above
    EXPECT_DOUBLE_EQ(entity.GetY(), 100.0);
    entity.SetY(101.0); // one row lower
    EXPECT_DOUBLE_EQ(entity.GetY(), 101.0);
    EXPECT_FALSE(entity.GetIsOnGround());
}

// Positions beyond the range of any integer (a jump speed of -1e999 in the type table makes them) still
// compare by whole pixel rows: falling to infinity is a fall, for the base entity, the player and items.
TEST(Entity, HugeAndInfinitePositionsCompareByRowWithoutOverflow)
{
    const double inf = std::numeric_limits<double>::infinity();
    EntityType jumper = MakeType("Entity", -5.0);
    Entity entity;
    entity.Init(0, 100, "a", &jumper);
    entity.SetIsOnGround(true);
    entity.SetY(1e300);
    EXPECT_EQ(entity.GetY(), 1e300);
    EXPECT_FALSE(entity.GetIsOnGround());
    entity.SetIsOnGround(true);
    entity.SetY(-inf); // far above: a grounded entity is not lifted
    EXPECT_EQ(entity.GetY(), 1e300);
    entity.SetY(inf);
    EXPECT_EQ(entity.GetY(), inf);

    EntityType falling = MakeType("Player", -1e300);
    Player player;
    player.Init(0, 0, "Player", &falling);
    player.SetIsOnGround(true);
    player.SetY(inf);
    EXPECT_EQ(player.GetState(), Jumping);
    EXPECT_FALSE(player.GetIsOnGround());

    EntityType heavy = MakeType("Item", 1.0);
    Item item;
    item.Init(0, -1e300, "b", &heavy);
    item.SetIsOnGround(true);
    item.SetY(9.3e18); // past the long long range
    EXPECT_FALSE(item.GetIsOnGround());
}

TEST(Entity, StatesHealthAndTheDeathTimer)
{
    EntityType type = MakeType("Entity", -5.0);
    Entity entity;
    entity.Init(0, 0, "a", &type);
    entity.SetHealth(25);
    EXPECT_EQ(entity.GetHealth(), 10);
    entity.SetHealth(-4);
    EXPECT_EQ(entity.GetHealth(), 0);
    entity.SetState(JumpingArmed);
    EXPECT_TRUE(entity.GetIsAlive());
    entity.SetDX(3.0);
    entity.SetState(DyingArmed); // keeps moving
    EXPECT_FALSE(entity.GetIsAlive());
    EXPECT_DOUBLE_EQ(entity.GetDX(), 3.0);
    entity.SetState(Dying);
    EXPECT_DOUBLE_EQ(entity.GetDX(), 0.0);
    entity.SetDX(1.0);
    entity.SetState(Dying); // the same state again: nothing
    EXPECT_DOUBLE_EQ(entity.GetDX(), 1.0);
    EXPECT_EQ(UpdatesUntilStateChanges(entity), 25);
    EXPECT_EQ(entity.GetState(), Dead);
}

TEST(Entity, EnemyBulletAndItemReactions)
{
    EntityType blob = MakeType("Enemy", 0.0);
    Enemy enemy;
    enemy.Init(0, 0, "a", &blob);
    EXPECT_EQ(enemy.GetState(), Walking);
    enemy.SetDX(0.0);
    enemy.Tick();
    EXPECT_DOUBLE_EQ(enemy.GetDX(), -2.0); // standing still: starts walking left
    enemy.CheckHorizontalCollision();
    EXPECT_DOUBLE_EQ(enemy.GetDX(), 2.0);
    enemy.SetState(Dying);
    EXPECT_EQ(UpdatesUntilStateChanges(enemy), 25);
    enemy.Tick();
    EXPECT_DOUBLE_EQ(enemy.GetDX(), 0.0); // the dead do not walk again

    EntityType shot = MakeType("Entity", 0.0);
    Bullet bullet;
    bullet.Init(10, 10, "0", &shot);
    bullet.CheckVerticalCollision();
    EXPECT_FALSE(bullet.GetIsOnGround());
    bullet.SetDX(6.0);
    bullet.CheckHorizontalCollision();
    EXPECT_EQ(bullet.GetState(), Dying);
    EXPECT_DOUBLE_EQ(bullet.GetDX(), 0.0);
    EXPECT_EQ(UpdatesUntilStateChanges(bullet), 2);

    EntityType heavy = MakeType("Item", 1.0);
    Item item;
    item.Init(16, 16, "b", &heavy);
    item.SetState(Dying);
    EXPECT_EQ(UpdatesUntilStateChanges(item), 100); // items have no death timer
}

class PlayerTest : public ::testing::Test
{
  protected:
    PlayerTest()
    {
        test::WriteHud(mDir, 0x00FF00);
        EXPECT_TRUE(mPlayer.Init(32, 48, "Player", &mType, test::ArgbRendererInfo()));
    }

    test::TempDir mDir;
    EntityType mType = MakeType("Player", -8.0);
    Player mPlayer;
};

TEST_F(PlayerTest, OxygenAndHealthRunOutIntoDyingOnce)
{
    EXPECT_EQ(mPlayer.GetHealth(), 100);
    mPlayer.Tick();
    EXPECT_NEAR(mPlayer.mOxygen, 9.97, 1e-9);
    mPlayer.mOxygen = 0.02;
    mPlayer.SetWeapon(true);
    mPlayer.SetDX(2.0);
    mType.mFrameCounter = 17;
    mPlayer.Tick();
    EXPECT_DOUBLE_EQ(mPlayer.mOxygen, 0.0);
    EXPECT_EQ(mPlayer.GetState(), DyingArmed);
    EXPECT_DOUBLE_EQ(mPlayer.GetDX(), 2.0); // written directly: the motion goes on
    EXPECT_EQ(mType.mFrameCounter, 0u);     // the death animation starts at its first frame
    EXPECT_EQ(mPlayer.GetStateAnimation(), 3u);
    mType.mFrameCounter = 5;
    mPlayer.Tick(); // already dying: nothing restarts
    EXPECT_EQ(mType.mFrameCounter, 5u);

    Player hurt;
    hurt.Init(0, 0, "Player", &mType, test::ArgbRendererInfo());
    hurt.SetHealth(150);
    EXPECT_EQ(hurt.GetHealth(), 100);
    hurt.SetHealth(-10);
    hurt.mHurtTimer = 1;
    hurt.Tick();
    EXPECT_EQ(hurt.GetState(), Dying);
    EXPECT_EQ(hurt.mHurtTimer, 0);
}

TEST_F(PlayerTest, GroundedPlayerMovesUpButFallingTakesTheJumpPose)
{
    mPlayer.SetIsOnGround(true);
    mPlayer.SetY(40.0);
    EXPECT_DOUBLE_EQ(mPlayer.GetY(), 40.0);
    EXPECT_EQ(mPlayer.GetState(), Standing);
    mPlayer.SetY(41.0);
    EXPECT_FALSE(mPlayer.GetIsOnGround());
    EXPECT_EQ(mPlayer.GetState(), Jumping);
}

TEST_F(PlayerTest, StatusDisplayBarsFollowHealthAndOxygen)
{
    test::SurfacePtr screen(SDL_CreateRGBSurfaceWithFormat(0, 320, 240, 32, SDL_PIXELFORMAT_ARGB8888));
    // The width of a bar: how many pixels of row y from x0 on have the colour.
    auto width = [&](int x0, int y, std::uint32_t colour)
    {
        auto* row = static_cast<std::uint32_t*>(screen->pixels) + y * screen->pitch / 4;
        int count = 0;
        while ((row[x0 + count] & 0xFFFFFFu) == colour)
        {
            ++count;
        }
        return count;
    };
    const std::tuple<int, double, int, int> cases[] = {
        {50, 5.0, 12, 12}, {100, 10.0, 24, 24}, {1, 0.0, 0, 0}};
    for (const auto& [health, oxygen, healthWidth, oxygenWidth] : cases)
    {
        mPlayer.SetHealth(health);
        mPlayer.mOxygen = oxygen;
        mPlayer.ShowHUD(screen.get());
        EXPECT_EQ(width(14, 6, 0xFF0000), healthWidth);
        EXPECT_EQ(width(14, 9, 0xC40000), healthWidth);
        EXPECT_EQ(width(49, 7, 0x0000FF), oxygenWidth);
        EXPECT_EQ(width(49, 8, 0x0000C4), oxygenWidth);
    }
    EXPECT_EQ(width(0, 4, 0x00FF00), 0); // the picture: 72 x 24 at (4, 4)
    EXPECT_EQ(width(4, 27, 0x00FF00), 72);
    EXPECT_EQ(width(4, 28, 0x00FF00), 0);
}
