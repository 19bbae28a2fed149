// Lifts and air vents in play: the lift's cycle, what it carries and where it stops, and the vents' cycle,
// reach and whom they lift.
#include "PlayTest.h"

#include "entities/Lift.h"

#include <algorithm>
#include <cmath>

namespace
{
// A shaft in column 10 from row 4 down to the floor (row 12), capped at row 3; the lift starts at its
// bottom, row 11. Alone it stops at y 64 and 176.
std::vector<std::string> Shaft()
{
    std::vector<std::string> rows(3, "#..................#");
    rows.push_back("#........###.......#");
    rows.insert(rows.end(), 8, "#........#.#.......#");
    rows.insert(rows.end(), 3, std::string(20, '#'));
    return rows;
}

// The floor's top at y 176 with a pit three rows deep in column 10 and a cap at row 5 above it.
std::vector<std::string> Pit()
{
    std::vector<std::string> rows(5, "#..................#");
    rows.push_back("#.........#........#");
    rows.insert(rows.end(), 5, "#..................#");
    rows.insert(rows.end(), 3, "##########.#########");
    rows.push_back(std::string(20, '#'));
    return rows;
}

// Vents in the floor (top y 192): Y at columns 4, 10 and 17, y at column 14; a deck over column 10 at
// row 8; the vents of columns 4 and 17 in slots one tile high.
std::vector<std::string> Vents()
{
    std::vector<std::string> rows(8, "#..................#");
    rows.push_back("#.........#........#");
    rows.insert(rows.end(), 2, "#..................#");
    rows.push_back("#..#.#..........#.##");
    rows.push_back("####Y#####Y###y##Y##");
    rows.insert(rows.end(), 2, std::string(20, '#'));
    return rows;
}
} // namespace

class FittingsTest : public PlayTest
{
  protected:
    Lift& TheLift() { return *dynamic_cast<Lift*>(Find("Lift", "Lift")); }
    // The entity stands on the lift's top.
    bool Rides(Entity& e) { return e.GetIsOnGround() && e.GetY() + 16.0 == TheLift().GetY(); }
    void Jump()
    {
        H().PushKeyDown(static_cast<SDL_Scancode>(G()->mKeyJump));
        H().HandleEvents();
    }
};

TEST_F(FittingsTest, ALiftRisesToItsCapWaitsASecondSinksToTheFloorAndWaitsAgain)
{
    ASSERT_TRUE(Begin({Level("shaft", "Player 1 3 11 p\nLift 1 10 11 t\n", Shaft())}));
    ASSERT_EQ(176.0, TheLift().GetY());
    const struct
    {
        int update;
        double y;
        Lift::Phase phase;
    } stops[] = {{1, 174, Lift::Phase::Rising},     {56, 64, Lift::Phase::Rising},
                 {57, 64, Lift::Phase::WaitingTop}, {85, 64, Lift::Phase::WaitingTop},
                 {86, 64, Lift::Phase::Sinking},    {87, 66, Lift::Phase::Sinking},
                 {142, 176, Lift::Phase::Sinking},  {143, 176, Lift::Phase::WaitingBottom},
                 {172, 176, Lift::Phase::Rising},   {173, 174, Lift::Phase::Rising}};
    int update = 0;
    for (const auto& stop : stops)
    {
        H().Tick(stop.update - update);
        update = stop.update;
        EXPECT_EQ(stop.y, TheLift().GetY()) << "update " << update;
        EXPECT_EQ(stop.phase, TheLift().GetPhase()) << "update " << update;
    }
    EXPECT_FALSE(P().GetEntityCollision(G(), &Pl())) << "a lift is never met like a thing";
}

TEST_F(FittingsTest, RidersStayOnThroughTheWholeCycleAndTheRoofStopsTheLiftNotTheRider)
{
    for (const char* rider : {"Player 1 10 10 p\n", "Player 1 3 11 p\nCrawler 1 10 10 c\n"})
    {
        SCOPED_TRACE(rider);
        mHarness.reset(); // one game at a time
        ASSERT_TRUE(Begin({Level("shaft", std::string(rider) + "Lift 1 10 11 t\n", Shaft())}));
        Entity& e = std::string(rider).find("Crawler") != std::string::npos ? *Find("Enemy", "Crawler")
                                                                            : static_cast<Entity&>(Pl());
        double highest = 176.0;
        // A whole cycle with the rider: 48 updates up, 30 waiting, 48 down, 30 waiting, and up again.
        for (int update = 1; update <= 200; ++update)
        {
            H().Tick();
            ASSERT_TRUE(Rides(e)) << "update " << update;
            highest = std::min(highest, TheLift().GetY());
        }
        EXPECT_EQ(80.0, highest) << "stopped with the rider's head against the cap (y 64)";
        if (&e == &Pl())
        {
            EXPECT_EQ(Standing, Pl().GetState()) << "carried, not falling";
        }
    }
}

TEST_F(FittingsTest, AJumpOffALiftIsAnOrdinaryJumpAndTheRisingLiftIsLandedOnAgain)
{
    ASSERT_TRUE(Begin({Level("shaft", "Player 1 10 10 p\nLift 1 10 11 t\n", Shaft())}));
    H().Tick(10);
    ASSERT_TRUE(Rides(Pl()));
    const double y = Pl().GetY();
    Jump();
    H().Tick();
    EXPECT_DOUBLE_EQ(y - 7.2, Pl().GetY()) << "the jump speed and gravity, nothing of the lift's motion";
    EXPECT_FALSE(Pl().GetIsOnGround());
    ASSERT_TRUE(TickUntilGrounded());
    EXPECT_TRUE(Rides(Pl()));
    EXPECT_EQ(TheLift().GetPhase(), Lift::Phase::Rising);
}

TEST_F(FittingsTest, ARiderHalfOnTheFloorIsLiftedButStaysOnTheFloorWhenTheLiftSinksPastIt)
{
    ASSERT_TRUE(Begin({Level("pit", "Player 1 3 10 p\nLift 1 10 11 t\n", Pit())}));
    PlacePlayer(168.0, 160.0); // over the lift's column and the floor beside it
    H().Tick(10);
    EXPECT_TRUE(Rides(Pl()));
    EXPECT_GT(160.0, Pl().GetY());
    H().Tick(110); // up to the cap, down past the floor, and waiting at the bottom of the pit
    EXPECT_EQ(160.0, std::trunc(Pl().GetY())) << "standing on the floor, in its pixel row";
    EXPECT_TRUE(Pl().GetIsOnGround());
    EXPECT_EQ(208.0, TheLift().GetY()) << "the lift went on down to the bottom of its pit";
}

TEST_F(FittingsTest, VentsLiftThePlayerInTheirOpenColumnWhileTheyBlowAndNobodyElse)
{
    const struct
    {
        double x, y; // where the player stands
        int update;  // how long it stands there first
        bool lifted; // whether it has risen by then
        const char* why;
    } cases[] = {{64, 176, 10, true, "on Y, blowing from the start"},
                 {224, 176, 59, false, "on y, still for the first two seconds"},
                 {224, 176, 70, true, "on y, which blows once Y rests"},
                 {96, 176, 20, false, "beside the vents"},
                 {160, 112, 20, false, "on a deck over a blowing vent"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.why);
        mHarness.reset();
        ASSERT_TRUE(Begin({Level("vents", "Player 1 1 11 p\nCrawler 1 17 11 c\n", Vents())}));
        PlacePlayer(c.x, c.y);
        Pl().SetIsOnGround(true);
        double lowestFeet = c.y + 16.0;
        for (int update = 0; update < c.update; ++update)
        {
            H().Tick();
            lowestFeet = std::min(lowestFeet, Pl().GetY() + 16.0);
        }
        EXPECT_EQ(c.lifted, lowestFeet < c.y + 16.0 - 8.0);
        EXPECT_EQ(176.0, Find("Enemy", "Crawler")->GetY()) << "blobs are too heavy";
    }
}

TEST_F(FittingsTest, AVentFloatsThePlayerAtItsReachDropsItWhenItRestsAndBlowsAgainOnItsCycle)
{
    ASSERT_TRUE(Begin({Level("vents", "Player 1 4 11 p\n", Vents())}));
    H().QuietSounds();
    double highestFeet = 192.0;
    for (int update = 1; update <= 60; ++update)
    {
        H().Tick();
        highestFeet = std::min(highestFeet, Pl().GetY() + 16.0);
        if (update == 1)
        {
            EXPECT_EQ(std::vector<std::string>{"vent.wav"}, H().PlayingSounds());
        }
    }
    // Reach 80 px from the grate's top, and a little more while the rise slows.
    EXPECT_GE(192.0 - highestFeet, 80.0);
    EXPECT_LE(192.0 - highestFeet, 90.0);
    EXPECT_LT(Pl().GetY() + 16.0, 192.0 - 70.0) << "still floating as the vent stops";
    H().Tick(59);
    EXPECT_TRUE(Pl().GetIsOnGround()) << "fell back onto the resting grate";
    EXPECT_EQ(176.0, std::trunc(Pl().GetY()));
    H().Tick(2);
    EXPECT_GT(176.0, Pl().GetY()) << "blowing again from update 120";
    EXPECT_FALSE(Pl().GetIsOnGround()) << "lifted off the grate: no jump until it lands";
    EXPECT_EQ(Jumping, Pl().GetState());
}
