// Shots, contact with enemies (stomp and side), the hurt immunity and the enemies that follow dead ones.
#include "PlayTest.h"

#include "entities/Bullet.h"

namespace
{
SDL_Scancode FireKey(Game* game)
{
    return static_cast<SDL_Scancode>(game->mKeyFire);
}

// The enemy in a cage of two wall cells: it turns at both at once and so stays at column 10.
std::vector<std::string> CageRoom(std::vector<std::string> rows)
{
    rows[11] = "#........#.#.......#";
    return rows;
}
} // namespace

class CombatTest : public PlayTest
{
  protected:
    Bullet* AddShot(double x, double y, double dx)
    {
        auto shot = std::make_unique<Bullet>();
        shot->Init(x, y, "0", M().mEntityTypeManager->GetEntityType("Bullet"));
        shot->SetDX(dx);
        Bullet* raw = shot.get();
        Pl().mBullets.push_back(std::move(shot));
        return raw;
    }
    // Ticks until the enemy stops being alive; the number of updates, or -1.
    int TickUntilDead(Entity* enemy, int limit = 40)
    {
        for (int i = 1; i <= limit; ++i)
        {
            H().QuietSounds();
            H().Tick();
            if (!enemy->GetIsAlive())
            {
                return i;
            }
        }
        return -1;
    }
};

TEST_F(CombatTest, ShotsStartTwoPixelsAheadAndFireEveryTenUpdatesAtMost)
{
    BeginPlaying(Level("room", "Player 1 6 11 p\n"));
    ASSERT_TRUE(TickUntilGrounded());
    Pl().SetX(100.0);
    Pl().SetDirection(false);

    // Unarmed, the fire key does nothing.
    H().PushKeyDown(FireKey(G()));
    H().HandleEvents();
    EXPECT_FALSE(P().mDoFire);
    H().PushKeyUp(FireKey(G()));

    Pl().SetWeapon(true);
    H().PushKeyDown(FireKey(G()));
    H().HandleEvents();
    ASSERT_TRUE(P().mDoFire);
    const double y = Pl().GetY();
    H().QuietSounds();
    H().Tick();
    ASSERT_EQ(1u, Pl().mBullets.size());
    Bullet& shot = *Pl().mBullets.front();
    // Created at 98, then moved once in the same update.
    EXPECT_EQ(98.0 - 6.0, shot.GetX());
    EXPECT_EQ(y, shot.GetY());
    EXPECT_EQ(-6.0, shot.GetDX());
    EXPECT_TRUE(shot.GetDirection()) << "the shot keeps its own facing";
    EXPECT_EQ(0u, P().mFireTimer);
    EXPECT_FALSE(P().mDoFire);
    EXPECT_EQ(std::vector<std::string>{"laser.wav"}, H().PlayingSounds());

    // Held, the key repeats: 9 updates after the shot are too soon, 10 are enough.
    H().Tick(9);
    H().PushKeyDown(FireKey(G()), true);
    H().HandleEvents();
    EXPECT_FALSE(P().mDoFire);
    H().Tick();
    H().PushKeyDown(FireKey(G()), true);
    H().HandleEvents();
    EXPECT_TRUE(P().mDoFire);
    H().Tick();
    EXPECT_EQ(0u, P().mFireTimer);

    // Facing right, the shot starts 2 pixels right of the player.
    Pl().mBullets.clear();
    Pl().SetDirection(true);
    P().mDoFire = true;
    H().Tick();
    ASSERT_EQ(1u, Pl().mBullets.size());
    EXPECT_EQ(Pl().GetX() + 2.0 + 6.0, Pl().mBullets.front()->GetX());
}

TEST_F(CombatTest, ALevelWithoutAShotTypeFiresNothing)
{
    BeginPlaying(Level("room", "Player 1 6 11 p\n"));
    M().mEntityTypeManager->mEntityTypes.erase("Bullet");
    Pl().SetWeapon(true);
    P().mDoFire = true;
    H().Tick();
    EXPECT_TRUE(Pl().mBullets.empty());
    EXPECT_FALSE(P().mDoFire);
}

TEST_F(CombatTest, AShotDiesAtAWallAndIsGoneTheUpdateAfter)
{
    BeginPlaying(Level("room", "Player 1 6 11 p\n"));
    Bullet* shot = AddShot(40.0, 176.0, -6.0);
    int updates = 0;
    while (shot->GetIsAlive() && updates++ < 20)
    {
        H().Tick();
    }
    ASSERT_EQ(1u, Pl().mBullets.size());
    EXPECT_EQ(Dying, shot->GetState());
    EXPECT_EQ(16.0, shot->GetX()) << "flush against the wall at column 0";
    EXPECT_EQ(0.0, shot->GetDX());
    EXPECT_EQ(176.0, shot->GetY()) << "shots fly level";
    H().Tick();
    EXPECT_TRUE(Pl().mBullets.empty());
}

TEST_F(CombatTest, ShotsAtOrPastTheRightScreenEdgeAreRemovedWithoutMoving)
{
    std::vector<std::string> rows(12, std::string(40, '.'));
    rows.insert(rows.end(), 3, std::string(40, '#'));
    BeginPlaying(Level("wide", "Player 1 2 11 p\n", rows));
    M().mCameraX = 0;
    AddShot(320.0, 100.0, 6.0);
    Bullet* inside = AddShot(319.0, 100.0, 6.0);
    H().Tick();
    ASSERT_EQ(1u, Pl().mBullets.size());
    EXPECT_EQ(inside, Pl().mBullets.front().get());
    EXPECT_EQ(325.0, inside->GetX());
    H().Tick();
    EXPECT_TRUE(Pl().mBullets.empty());

    // The edge is the screen's, not the level's.
    M().mCameraX = 200;
    Bullet* farther = AddShot(500.0, 100.0, 6.0);
    H().Tick();
    EXPECT_EQ(506.0, farther->GetX());
}

TEST_F(CombatTest, LandingOnAnEnemyKillsItAndBouncesThePlayer)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 1 10 11 e\n", CageRoom(Room())));
    Entity* blob = Find("Enemy", "Blob1");
    ASSERT_EQ(160.0, blob->GetX());
    PlacePlayer(160.0, 120.0);
    ASSERT_GT(TickUntilDead(blob), 0);
    EXPECT_EQ(Dying, blob->GetState());
    EXPECT_EQ(100, Pl().GetHealth());
    // Put on top of the enemy, then bounced by a forced jump.
    EXPECT_EQ(160.0, Pl().GetY());
    EXPECT_DOUBLE_EQ(-8.0, Pl().GetDY());
    EXPECT_EQ(Jumping, Pl().GetState());
    EXPECT_EQ((std::vector<std::string>{"jump.wav", "hurt.wav"}), H().PlayingSounds());
}

TEST_F(CombatTest, SideContactCostsTheEnemysHealthOncePer25Updates)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 1 10 11 e\n", CageRoom(Room())));
    PlacePlayer(160.0, 176.0);
    H().QuietSounds();
    H().Tick();
    EXPECT_EQ(90, Pl().GetHealth());
    EXPECT_EQ(std::vector<std::string>{"hurt.wav"}, H().PlayingSounds());
    EXPECT_TRUE(Find("Enemy", "Blob1")->GetIsAlive()) << "touching from the side kills nothing";
    H().Tick(24);
    EXPECT_EQ(90, Pl().GetHealth());
    H().Tick();
    EXPECT_EQ(80, Pl().GetHealth());

    // A worn-out enemy hurts by its health of 0: no damage, but the sound and the immunity.
    Find("Enemy", "Blob1")->SetHealth(0);
    H().Tick(24);
    H().QuietSounds();
    H().Tick();
    EXPECT_EQ(80, Pl().GetHealth());
    EXPECT_EQ(24, Pl().mHurtTimer);
    EXPECT_EQ(std::vector<std::string>{"hurt.wav"}, H().PlayingSounds());
}

TEST_F(CombatTest, TheLastHitStartsTheDeathArmedOrNot)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 1 10 11 e\n", CageRoom(Room())));
    PlacePlayer(160.0, 176.0);
    Pl().SetHealth(10);
    Pl().SetWeapon(true);
    H().Tick();
    EXPECT_EQ(0, Pl().GetHealth());
    EXPECT_EQ(DyingArmed, Pl().GetState());
    EXPECT_EQ(0, Pl().mHurtTimer);

    // Dying, the move keys change nothing any more.
    P().mMoveLeft = true;
    H().Tick();
    EXPECT_EQ(DyingArmed, Pl().GetState());
}

TEST_F(CombatTest, AShotBlob1BecomesABlob2ThenABlob3ThenNothing)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 0 12 11 e\n"));
    Entity* blob = Find("Enemy", "Blob1");
    Pl().SetWeapon(true);
    Pl().SetDirection(true);
    P().mDoFire = true;
    ASSERT_GT(TickUntilDead(blob), 0);
    EXPECT_EQ(Dying, blob->GetState());
    EXPECT_TRUE(Pl().mBullets.empty()) << "the shot is used up";
    EXPECT_EQ(std::vector<std::string>{"hurt.wav"}, H().PlayingSounds());
    const double x = blob->GetX();
    const std::string id = blob->GetID();

    H().Tick(23);
    EXPECT_EQ(Dying, blob->GetState());
    H().Tick();
    EXPECT_EQ(Dead, blob->GetState());
    H().Tick();
    EXPECT_EQ(0, Count("Enemy", "Blob1"));
    ASSERT_EQ(1, Count("Enemy", "Blob2"));
    Entity* second = Find("Enemy", "Blob2");
    EXPECT_EQ(x - 2.0, second->GetX()) << "created in its place, facing left, and already moved";
    EXPECT_FALSE(second->GetDirection());
    EXPECT_EQ(10, second->GetHealth());
    EXPECT_EQ(id, second->GetID());

    second->SetState(Dying);
    H().Tick(26);
    ASSERT_EQ(1, Count("Enemy", "Blob3"));
    EXPECT_EQ(0, Count("Enemy", "Blob2"));
    Find("Enemy", "Blob3")->SetState(Dying);
    H().Tick(26);
    EXPECT_TRUE(M().mEnemies.empty());
}

TEST_F(CombatTest, ADeadEnemyMetByAShotInFlightLeavesNoSuccessor)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 0 12 11 e\n"));
    Entity* blob = Find("Enemy", "Blob1");
    blob->SetState(Dying);
    H().Tick(25);
    ASSERT_EQ(Dead, blob->GetState());
    // A shot away from it is in flight when the dead enemy would be replaced.
    Pl().SetWeapon(true);
    Pl().SetDirection(false);
    P().mDoFire = true;
    H().Tick();
    EXPECT_EQ(1u, Pl().mBullets.size());
    EXPECT_TRUE(M().mEnemies.empty());
}
