// The entity rules: vertical motion guards, collision reactions, states and timers, player and HUD.
#include "TestSupport.h"
#include "WorldFixtures.h"
#include "entities/Bullet.h"
#include "entities/Enemy.h"
#include "entities/Item.h"
#include "entities/Player.h"

#include <gtest/gtest.h>

namespace
{
EntityType MakeType(const std::string& baseType, const std::string& name, double jumpSpeed, bool animated = false)
{
    EntityType type;
    type.Init(baseType, name, 16, 32, 0, animated, false, jumpSpeed);
    return type;
}
} // namespace

TEST(Entity, InitCopiesTheTypeAndRegistersDefaultFrames)
{
    EntityType type = MakeType("Entity", "Crate", -4.0, true);
    type.mIsBlockingMotion = true;
    Entity entity;
    entity.SetFrameWidth(20);
    ASSERT_TRUE(entity.Init(10.7, 20.2, "id", &type));
    EXPECT_TRUE(entity.GetIsAnimated());
    EXPECT_TRUE(entity.GetIsBlockingMotion());
    EXPECT_EQ(entity.GetType(), "Crate");
    EXPECT_EQ(entity.GetBaseType(), "Entity");
    EXPECT_EQ(entity.GetID(), "id");
    EXPECT_DOUBLE_EQ(entity.GetJumpSpeed(), -4.0);
    EXPECT_EQ(entity.GetHealth(), -1); // untouched by Init
    EXPECT_EQ(entity.GetFrameWidth(), 20);
    EXPECT_EQ(entity.GetStateAnimation(), 2u);
    entity.SetState(Jumping);
    EXPECT_EQ(entity.GetStateAnimation(), 0u); // never registered
    EXPECT_EQ(entity.GetAnimationFrame(), 0u);
}

TEST(Entity, SetYGuards)
{
    EntityType still = MakeType("Entity", "Still", 0.0);
    Entity fixed;
    fixed.Init(0, 100, "a", &still);
    fixed.SetY(500);
    EXPECT_DOUBLE_EQ(fixed.GetY(), 100.0); // jump speed 0: never changes height

    EntityType jumper = MakeType("Entity", "Jumper", -5.0);
    Entity grounded;
    grounded.Init(0, 100, "b", &jumper);
    grounded.SetIsOnGround(true);
    grounded.SetY(100.7); // same pixel row
    EXPECT_DOUBLE_EQ(grounded.GetY(), 100.0);
    grounded.SetY(90.0); // above
    EXPECT_DOUBLE_EQ(grounded.GetY(), 100.0);
    EXPECT_TRUE(grounded.GetIsOnGround());
    grounded.SetY(101.0); // one row lower
    EXPECT_DOUBLE_EQ(grounded.GetY(), 101.0);
    EXPECT_FALSE(grounded.GetIsOnGround());
    grounded.SetY(95.5); // in the air it moves freely
    EXPECT_DOUBLE_EQ(grounded.GetY(), 95.5);
}

TEST(Entity, VerticalCollisionGroundsOnlyWhenNotRising)
{
    EntityType type = MakeType("Entity", "E", -5.0);
    Entity entity;
    entity.Init(0, 0, "a", &type);
    entity.SetDY(-3.0);
    entity.CheckVerticalCollision();
    EXPECT_FALSE(entity.GetIsOnGround());
    EXPECT_DOUBLE_EQ(entity.GetDY(), 0.0);
    entity.CheckVerticalCollision(); // at rest now
    EXPECT_TRUE(entity.GetIsOnGround());
    entity.SetDX(2.0);
    entity.CheckHorizontalCollision();
    EXPECT_DOUBLE_EQ(entity.GetDX(), 0.0);
    entity.Jump(false);
    EXPECT_FALSE(entity.GetIsOnGround());
    EXPECT_DOUBLE_EQ(entity.GetDY(), -5.0);
    entity.SetDY(1.0);
    entity.Jump(false); // in the air: nothing
    EXPECT_DOUBLE_EQ(entity.GetDY(), 1.0);
    entity.Jump(true);
    EXPECT_DOUBLE_EQ(entity.GetDY(), -5.0);
}

TEST(Entity, StatesHealthAndTheDeathTimer)
{
    EntityType type = MakeType("Entity", "E", -5.0);
    Entity entity;
    entity.Init(0, 0, "a", &type);
    entity.SetHealth(25);
    EXPECT_EQ(entity.GetHealth(), 10);
    entity.SetHealth(-4);
    EXPECT_EQ(entity.GetHealth(), 0);

    entity.SetState(JumpingArmed);
    EXPECT_TRUE(entity.GetIsAlive());
    entity.SetDX(3.0);
    entity.SetDY(4.0);
    entity.SetState(DyingArmed); // keeps moving
    EXPECT_FALSE(entity.GetIsAlive());
    EXPECT_DOUBLE_EQ(entity.GetDX(), 3.0);
    entity.SetState(Dying);
    EXPECT_DOUBLE_EQ(entity.GetDX(), 0.0);
    EXPECT_DOUBLE_EQ(entity.GetDY(), 0.0);
    entity.SetDX(1.0);
    entity.SetState(Dying); // the same state again: nothing
    EXPECT_DOUBLE_EQ(entity.GetDX(), 1.0);

    for (int update = 1; update <= 24; ++update)
    {
        entity.Tick();
    }
    EXPECT_EQ(entity.GetState(), Dying);
    entity.Tick();
    EXPECT_EQ(entity.GetState(), Dead);
}

TEST(Enemy, WalksTurnsAndDiesOnItsTwentyFifthUpdate)
{
    EntityType type = MakeType("Enemy", "Blob1", 0.0, true);
    Enemy enemy;
    enemy.Init(0, 0, "a", &type);
    EXPECT_EQ(enemy.GetBaseType(), "Enemy");
    EXPECT_EQ(enemy.GetState(), Walking);
    EXPECT_EQ(enemy.GetStateAnimation(), 4u);
    EXPECT_EQ(enemy.GetHealth(), 10);
    enemy.SetDX(0.0);
    enemy.Tick();
    EXPECT_DOUBLE_EQ(enemy.GetDX(), -2.0); // standing still: starts walking left
    enemy.CheckHorizontalCollision();
    EXPECT_DOUBLE_EQ(enemy.GetDX(), 2.0);
    enemy.Tick();
    EXPECT_DOUBLE_EQ(enemy.GetDX(), 2.0);

    enemy.SetState(Dying);
    for (int update = 1; update <= 24; ++update)
    {
        enemy.Tick();
    }
    EXPECT_EQ(enemy.GetState(), Dying);
    EXPECT_DOUBLE_EQ(enemy.GetDX(), 0.0); // a dying enemy does not start walking again
    enemy.Tick();
    EXPECT_EQ(enemy.GetState(), Dead);
    enemy.Tick();
    EXPECT_DOUBLE_EQ(enemy.GetDX(), 0.0);
}

TEST(Bullet, DiesAtTheFirstWallAndNeverLands)
{
    EntityType type = MakeType("Entity", "Bullet", 0.0);
    Bullet bullet;
    bullet.Init(10, 10, "0", &type);
    EXPECT_EQ(bullet.GetBaseType(), "Bullet");
    EXPECT_EQ(bullet.GetState(), Walking);
    EXPECT_FLOAT_EQ(bullet.GetMaxMotionSpeed(), 0.5f);
    bullet.SetDY(3.0);
    bullet.CheckVerticalCollision();
    EXPECT_FALSE(bullet.GetIsOnGround());
    EXPECT_DOUBLE_EQ(bullet.GetDY(), 0.0);
    bullet.SetDX(6.0);
    bullet.CheckHorizontalCollision();
    EXPECT_EQ(bullet.GetState(), Dying);
    EXPECT_DOUBLE_EQ(bullet.GetDX(), 0.0);
    bullet.Tick();
    EXPECT_EQ(bullet.GetState(), Dying);
    bullet.Tick();
    EXPECT_EQ(bullet.GetState(), Dead);
}

TEST(Item, HangsOrFallsByItsJumpSpeedAndIsNeverUsed)
{
    EntityType hanging = MakeType("Item", "Health", 0.0);
    Item still;
    still.Init(16, 16, "a", &hanging);
    EXPECT_EQ(still.GetBaseType(), "Item");
    EXPECT_EQ(still.GetState(), Standing);
    still.SetY(40);
    EXPECT_DOUBLE_EQ(still.GetY(), 16.0);

    EntityType falling = MakeType("Item", "Heavy", 1.0);
    Item heavy;
    heavy.Init(16, 16, "b", &falling);
    heavy.SetIsOnGround(true);
    heavy.SetY(15.0); // no on-ground guard: it may move up
    EXPECT_DOUBLE_EQ(heavy.GetY(), 15.0);
    EXPECT_TRUE(heavy.GetIsOnGround());
    heavy.SetY(20.0);
    EXPECT_FALSE(heavy.GetIsOnGround());
    heavy.SetDX(2.0);
    heavy.CheckHorizontalCollision();
    EXPECT_DOUBLE_EQ(heavy.GetDX(), 0.0);
    heavy.SetDY(3.0);
    heavy.CheckVerticalCollision();
    EXPECT_TRUE(heavy.GetIsOnGround());

    EXPECT_FALSE(heavy.Use(&still, &heavy));
    EXPECT_EQ(heavy.GetState(), Standing);
    heavy.SetState(Dying);
    heavy.Tick(); // items have no death animation of their own
    EXPECT_EQ(heavy.GetState(), Dying);
}

class PlayerTest : public ::testing::Test
{
protected:
    PlayerTest()
    {
        test::WriteHud(mDir, 0x00FF00);
        mType = MakeType("Player", "Player", -8.0, true);
        EXPECT_TRUE(mPlayer.Init(32, 48, "Player", &mType, test::ArgbRendererInfo()));
    }

    test::TempDir mDir;
    EntityType mType;
    Player mPlayer;
};

TEST_F(PlayerTest, InitGivesFullHealthAndThePlayersFrames)
{
    EXPECT_EQ(mPlayer.GetHealth(), 100);
    EXPECT_EQ(mPlayer.GetBaseType(), "Player");
    EXPECT_DOUBLE_EQ(mPlayer.mOxygen, 10.0);
    mPlayer.SetState(Walking);
    EXPECT_EQ(mPlayer.GetStateAnimation(), 4u);
    mPlayer.SetState(DyingArmed);
    EXPECT_EQ(mPlayer.GetStateAnimation(), 3u);
    EXPECT_EQ(Player::GetSheetOffset(DyingArmed), 208);
    EXPECT_EQ(Player::GetSheetOffset(Dead), 192);

    Player noPicture;
    std::filesystem::remove(mDir.Path() / "data/gfx/hud.png");
    EXPECT_EQ(noPicture.GetHealth(), 0);
    EXPECT_ANY_THROW(noPicture.Init(0, 0, "Player", &mType, test::ArgbRendererInfo()));
}

TEST_F(PlayerTest, OxygenRunsOutAndThePlayerStartsDyingOnce)
{
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
    mType.mFrameCounter = 5;
    mPlayer.Tick(); // already dying: nothing restarts
    EXPECT_EQ(mPlayer.GetState(), DyingArmed);
    EXPECT_EQ(mType.mFrameCounter, 5u);
}

TEST_F(PlayerTest, HealthClampsAndNoHealthKills)
{
    mPlayer.SetHealth(150);
    EXPECT_EQ(mPlayer.GetHealth(), 100);
    mPlayer.mHurtTimer = 2;
    mPlayer.SetHealth(-10);
    EXPECT_EQ(mPlayer.GetHealth(), 0);
    mPlayer.Tick();
    EXPECT_EQ(mPlayer.GetState(), Dying);
    EXPECT_EQ(mPlayer.mHurtTimer, 1);
    mPlayer.Tick();
    mPlayer.Tick();
    EXPECT_EQ(mPlayer.mHurtTimer, 0); // never below 0
}

TEST_F(PlayerTest, JumpAndFallTakeTheJumpPose)
{
    mPlayer.SetIsOnGround(true);
    mPlayer.SetY(40.0); // grounded, moving up: the player moves
    EXPECT_DOUBLE_EQ(mPlayer.GetY(), 40.0);
    EXPECT_EQ(mPlayer.GetState(), Standing);
    EXPECT_TRUE(mPlayer.GetIsOnGround());
    mPlayer.SetY(41.0); // one row lower: falling
    EXPECT_FALSE(mPlayer.GetIsOnGround());
    EXPECT_EQ(mPlayer.GetState(), Jumping);

    mPlayer.SetState(Standing);
    mPlayer.SetWeapon(true);
    mPlayer.Jump(false); // in the air: nothing
    EXPECT_EQ(mPlayer.GetState(), Standing);
    mPlayer.Jump(true);
    EXPECT_EQ(mPlayer.GetState(), JumpingArmed);
    EXPECT_DOUBLE_EQ(mPlayer.GetDY(), -8.0);
}

TEST_F(PlayerTest, StatusDisplayBarsFollowHealthAndOxygen)
{
    test::SurfacePtr screen(SDL_CreateRGBSurfaceWithFormat(0, 320, 240, 32, SDL_PIXELFORMAT_ARGB8888));
    auto colourAt = [&](int x, int y) {
        return static_cast<std::uint32_t*>(screen->pixels)[y * screen->pitch / 4 + x] & 0xFFFFFFu;
    };
    // The width of a bar: how many pixels of the row from x0 have the colour.
    auto width = [&](int x0, int y, std::uint32_t colour) {
        int count = 0;
        while (colourAt(x0 + count, y) == colour)
        {
            ++count;
        }
        return count;
    };

    mPlayer.SetHealth(50);
    mPlayer.mOxygen = 5.0;
    mPlayer.ShowHUD(screen.get());
    EXPECT_EQ(colourAt(4, 4), 0x00FF00u); // the picture at (4, 4)
    EXPECT_EQ(colourAt(75, 27), 0x00FF00u);
    EXPECT_EQ(colourAt(76, 28), 0u);
    EXPECT_EQ(width(14, 6, 0xFF0000), 12);
    EXPECT_EQ(width(14, 7, 0xFF0000), 12);
    EXPECT_EQ(width(14, 8, 0xC40000), 12);
    EXPECT_EQ(width(14, 9, 0xC40000), 12);
    EXPECT_EQ(colourAt(14, 10), 0x00FF00u);
    EXPECT_EQ(width(49, 6, 0x0000FF), 12);
    EXPECT_EQ(width(49, 9, 0x0000C4), 12);

    mPlayer.SetHealth(100);
    mPlayer.mOxygen = 10.0;
    mPlayer.ShowHUD(screen.get());
    EXPECT_EQ(width(14, 6, 0xFF0000), 24);
    EXPECT_EQ(width(49, 8, 0x0000C4), 24);

    mPlayer.SetHealth(1); // 1 x 24 / 100 truncates to nothing
    mPlayer.mOxygen = 0.0;
    mPlayer.ShowHUD(screen.get());
    EXPECT_EQ(width(14, 6, 0xFF0000), 0);
    EXPECT_EQ(width(49, 6, 0x0000FF), 0);
}

namespace
{
struct CountedBullet : Bullet
{
    explicit CountedBullet(int& destroyed) : mDestroyed(destroyed) {}
    ~CountedBullet() override { ++mDestroyed; }
    int& mDestroyed;
};
} // namespace

TEST(PlayerBullets, DestroyingThePlayerDestroysEachShotOnce)
{
    test::TempDir dir;
    test::WriteHud(dir);
    EntityType type = MakeType("Player", "Player", -8.0);
    int destroyed = 0;
    {
        Player player;
        ASSERT_TRUE(player.Init(0, 0, "Player", &type, test::ArgbRendererInfo()));
        player.mBullets.push_back(std::make_unique<CountedBullet>(destroyed));
        player.mBullets.push_back(std::make_unique<CountedBullet>(destroyed));
        player.mBullets.erase(player.mBullets.begin()); // a shot removed in play goes at once
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 2);
}
