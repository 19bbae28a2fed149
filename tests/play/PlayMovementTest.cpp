// Walking, jumping, gravity, walls and blocking entities, contact tests and harmful tiles.
#include "PlayTest.h"

#include "entities/Item.h"

namespace
{
SDL_Scancode Key(int binding)
{
    return static_cast<SDL_Scancode>(binding);
}
} // namespace

TEST_F(PlayTest, WalkingMovesTwoPixelsPerUpdateAndRightWinsOverLeft)
{
    BeginPlaying(Level("room", "Player 1 5 11 p\n"));
    ASSERT_TRUE(TickUntilGrounded());
    ASSERT_EQ(80.0, Pl().GetX());

    H().PushKeyDown(Key(G()->mKeyLeft));
    H().HandleEvents();
    H().Tick();
    EXPECT_EQ(78.0, Pl().GetX());
    EXPECT_FALSE(Pl().GetDirection());
    EXPECT_EQ(Walking, Pl().GetState());

    // Both held: right is applied last.
    H().PushKeyDown(Key(G()->mKeyRight));
    H().HandleEvents();
    EXPECT_TRUE(P().mMoveLeft && P().mMoveRight);
    H().Tick();
    EXPECT_EQ(80.0, Pl().GetX());
    EXPECT_TRUE(Pl().GetDirection());

    H().PushKeyUp(Key(G()->mKeyRight));
    H().PushKeyUp(Key(G()->mKeyLeft));
    H().HandleEvents();
    H().Tick();
    EXPECT_EQ(80.0, Pl().GetX()) << "released keys stop the player at once";
    EXPECT_EQ(Standing, Pl().GetState());
}

TEST_F(PlayTest, JumpingWorksOnlyFromTheGroundAndAWaitingJumpHappensOnLanding)
{
    BeginPlaying(Level("room", "Player 1 5 11 p\n"));
    ASSERT_TRUE(TickUntilGrounded());
    const double ground = Pl().GetY(); // 176, or within that pixel row

    H().PushKeyDown(Key(G()->mKeyJump));
    H().HandleEvents();
    ASSERT_TRUE(P().mDoJump);
    H().QuietSounds();
    H().Tick();
    // The jump speed of -8, then one step of gravity.
    EXPECT_DOUBLE_EQ(ground - 7.2, Pl().GetY());
    EXPECT_DOUBLE_EQ(-7.2, Pl().GetDY());
    EXPECT_EQ(Jumping, Pl().GetState());
    EXPECT_FALSE(P().mDoJump);
    EXPECT_EQ(std::vector<std::string>{"jump.wav"}, H().PlayingSounds());

    // Pressing jump in the air sets nothing.
    H().PushKeyUp(Key(G()->mKeyJump));
    H().PushKeyDown(Key(G()->mKeyJump));
    H().HandleEvents();
    EXPECT_FALSE(P().mDoJump);

    // A request made on the ground but not used yet waits in the air until the player lands.
    P().mDoJump = true;
    H().Tick();
    EXPECT_TRUE(P().mDoJump);
    EXPECT_LT(Pl().GetY(), ground - 7.2);
    int updates = 0;
    while (P().mDoJump && updates++ < 60)
    {
        H().Tick();
    }
    EXPECT_FALSE(P().mDoJump);
    EXPECT_LT(Pl().GetDY(), 0.0) << "jumped again right after landing";
}

TEST_F(PlayTest, GravityAcceleratesAFallUntilItLandsOnAFloorCell)
{
    // The floor's top is at y 160.
    std::vector<std::string> rows(10, "#..................#");
    rows.insert(rows.end(), 5, std::string(20, '#'));
    BeginPlaying(Level("room", "Player 1 5 2 p\n", rows));
    PlacePlayer(80.0, 32.0);
    H().Tick(3);
    EXPECT_DOUBLE_EQ(32.0 + 0.8 + 1.6 + 2.4, Pl().GetY());
    EXPECT_EQ(Jumping, Pl().GetState()) << "a falling player takes the jump pose";

    ASSERT_TRUE(TickUntilGrounded());
    EXPECT_EQ(144.0, Pl().GetY());
    EXPECT_EQ(0.0, Pl().GetDY());
}

TEST_F(PlayTest, WallsAndTheLevelEdgeStopThePlayerFlush)
{
    // An open left edge and a wall at column 12.
    std::vector<std::string> rows(12, "............#......#");
    rows.insert(rows.end(), 3, std::string(20, '#'));
    BeginPlaying(Level("room", "Player 1 5 11 p\n", rows));
    ASSERT_TRUE(TickUntilGrounded());

    P().mMoveRight = true;
    H().Tick(60);
    EXPECT_EQ(12 * 16 - 16.0, Pl().GetX());
    P().mMoveRight = false;
    P().mMoveLeft = true;
    H().Tick(120);
    EXPECT_EQ(0.0, Pl().GetX()) << "the level's edge blocks like a wall";
    EXPECT_EQ(100, Pl().GetHealth());
}

TEST_F(PlayTest, AnEnemyTurnsBackAtAWall)
{
    std::vector<std::string> rows = Room();
    rows[11] = "#.........#........#";
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 1 8 11 e\n", rows));
    Entity* blob = Find("Enemy", "Blob1");
    ASSERT_NE(nullptr, blob);
    // 32 updates of fade-in have moved it already; put it back at column 8, walking right.
    blob->SetX(128.0);
    blob->SetDX(2.0);
    blob->SetDirection(true);
    H().Tick(8);
    EXPECT_EQ(144.0, blob->GetX());
    H().Tick();
    EXPECT_EQ(144.0, blob->GetX()) << "flush against the wall at column 10";
    EXPECT_FALSE(blob->GetDirection());
    EXPECT_EQ(-2.0, blob->GetDX());
    H().Tick();
    EXPECT_EQ(142.0, blob->GetX());
}

TEST_F(PlayTest, AClosedDoorStopsThePlayerAtItsTileColumnWithoutHarm)
{
    BeginPlaying(Level("room", "Player 1 5 11 p\nShipDoor1 1 8 11 d\n"));
    ASSERT_TRUE(TickUntilGrounded());
    P().mMoveRight = true;
    H().Tick(25);
    EXPECT_EQ(8 * 16 - 16.0, Pl().GetX());
    EXPECT_EQ(100, Pl().GetHealth());
    EXPECT_EQ(0, Pl().mHurtTimer);
    EXPECT_EQ(1, Count("Item", "ShipDoor1"));
}

TEST_F(PlayTest, EntitiesTouchOnlyWhenTheirTruncatedBoxesOverlap)
{
    BeginPlaying(Level("room", "Player 1 5 11 p\n"));
    EntityType* type = M().mEntityTypeManager->GetEntityType("Health");
    Item a;
    Item b;
    a.Init(0.0, 0.0, "a", type);
    b.Init(16.0, 0.0, "b", type);
    EXPECT_FALSE(P().IsEntityCollision(&a, &b)) << "sharing an edge is no contact";
    b.SetX(15.9);
    EXPECT_TRUE(P().IsEntityCollision(&a, &b));
    EXPECT_TRUE(P().IsEntityCollision(&b, &a));
    EXPECT_FALSE(P().IsEntityCollision(&a, &a));
    b.SetX(0.0);
    b.SetState(Dead);
    EXPECT_FALSE(P().IsEntityCollision(&a, &b)) << "the dead touch nothing";
    b.SetState(Standing);
    a.SetX(-0.9); // truncates to 0, not -1
    b.SetX(16.0);
    EXPECT_FALSE(P().IsEntityCollision(&a, &b));
}

TEST_F(PlayTest, OnlyTheFirstContactCountsPlainEntitiesThenItemsThenEnemies)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 1 10 5 e\nHealth 1 10 5 h\nCrate 1 14 5 c\n"));
    Item probe;
    probe.Init(160.0, 80.0, "probe", M().mEntityTypeManager->GetEntityType("Health"));
    // The enemy moved during the fade-in; put both on the probe again.
    Find("Enemy", "Blob1")->SetX(160.0);
    Find("Item", "Health")->SetX(160.0);
    EXPECT_EQ(Find("Item", "Health"), P().GetEntityCollision(G(), &probe)) << "an item hides the enemy";
    Find("Entity", "Crate")->SetX(160.0);
    EXPECT_EQ(Find("Entity", "Crate"), P().GetEntityCollision(G(), &probe));
    probe.SetX(300.0);
    EXPECT_EQ(nullptr, P().GetEntityCollision(G(), &probe));
}

TEST_F(PlayTest, HarmfulTilesHurtOnEveryProbeButSoundOncePerImmunity)
{
    std::vector<std::string> rows = Room();
    rows[11] = "#....^.............#";
    BeginPlaying(Level("room", "Player 1 2 11 p\n", rows));
    PlacePlayer(80.0, 176.0);
    H().QuietSounds();
    H().Tick();
    // Touched by the horizontal and the vertical probe: 5 damage each.
    EXPECT_EQ(90, Pl().GetHealth());
    EXPECT_EQ(24, Pl().mHurtTimer);
    EXPECT_EQ(std::vector<std::string>{"hurt.wav"}, H().PlayingSounds());

    for (int update = 2; update <= 25; ++update)
    {
        Pl().SetHealth(100);
        H().QuietSounds();
        H().Tick();
        // Every update hurts; a probe that ends on the floor below reports the floor alone.
        ASSERT_LE(Pl().GetHealth(), 95) << "update " << update;
        ASSERT_TRUE(H().PlayingSounds().empty()) << "update " << update;
    }
    EXPECT_EQ(0, Pl().mHurtTimer);
    H().Tick();
    EXPECT_EQ(std::vector<std::string>{"hurt.wav"}, H().PlayingSounds()) << "the immunity is over";
}
