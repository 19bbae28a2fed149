// Pick-ups and their refusals, keycard and lock, and the exit door from level to level and back to the menu.
#include "PlayTest.h"

#include "entities/Bullet.h"
#include "graphics/ImageManager.h"
#include "states/Card.h"

#include <SDL_mixer.h>

#include <iterator>

TEST_F(PlayTest, HealthIsAddedUpTo100AndRefusedAtFullHealth)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nHealth 1 8 11 a\nHealth 1 12 11 b\n"));
    ASSERT_EQ(2, Count("Item", "Health"));
    Pl().SetHealth(95);
    PlacePlayer(128.0, 176.0);
    H().QuietSounds();
    H().Tick();
    EXPECT_EQ(100, Pl().GetHealth());
    EXPECT_EQ(1, Count("Item", "Health")) << "used up and removed";
    EXPECT_EQ(std::vector<std::string>{"pickup.wav"}, H().PlayingSounds());

    PlacePlayer(192.0, 176.0);
    H().QuietSounds();
    H().Tick(3);
    EXPECT_EQ(100, Pl().GetHealth());
    EXPECT_EQ(1, Count("Item", "Health")) << "refused: it stays for later";
    EXPECT_TRUE(H().PlayingSounds().empty()) << "a refused pick-up is silent";
}

TEST_F(PlayTest, AnOxygenTankRefillsAndIsRefusedWhenTheAirIsFull)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nOxygenTank 1 8 11 a\nOxygenTank 1 12 11 b\n"));
    ASSERT_EQ(2, M().mOxygenTanksLeft);
    Pl().mOxygen = 3.7;
    PlacePlayer(128.0, 176.0);
    H().Tick();
    // Set to 10.0 (not added), then one update's use.
    EXPECT_DOUBLE_EQ(10.0 - 0.03, Pl().mOxygen);
    EXPECT_EQ(1, M().mOxygenTanksLeft);
    EXPECT_EQ(1, Count("Item", "OxygenTank"));

    PlacePlayer(192.0, 176.0);
    Pl().mOxygen = 10.0;
    H().Tick();
    EXPECT_EQ(1, Count("Item", "OxygenTank"));
    EXPECT_EQ(1, M().mOxygenTanksLeft);

    // The count never goes below 0, even for a tank the level did not count.
    M().mOxygenTanksLeft = 0;
    Pl().mOxygen = 5.0;
    H().Tick();
    EXPECT_EQ(0, M().mOxygenTanksLeft);
    EXPECT_EQ(0, Count("Item", "OxygenTank"));
}

TEST_F(PlayTest, TheWeaponArmsThePlayer)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nWeapon 1 8 11 w\n"));
    PlacePlayer(128.0, 176.0);
    H().QuietSounds();
    H().Tick();
    EXPECT_TRUE(Pl().GetWeapon());
    EXPECT_EQ(0, Count("Item", "Weapon"));
    EXPECT_EQ(std::vector<std::string>{"pickup.wav"}, H().PlayingSounds());
    ASSERT_TRUE(TickUntilGrounded());
    H().Tick();
    EXPECT_EQ(StandingArmed, Pl().GetState());
}

TEST_F(PlayTest, KeycardLockDoorNextLevelLastLevelMainMenu)
{
    // A list of two levels and an empty line: after the second level there is no level to go to.
    const test::LevelFiles one = Level("one", "Player 1 2 11 p\nKeycardLock 1 6 11 a\nKeycard 1 10 11 "
                                              "k\nShipDoor1 1 14 11 a\nShipDoor1 1 16 11 z\n");
    const test::LevelFiles two = Level("two", "Player 0 4 11 p\nShipDoor2 1 8 11 x\n");
    ASSERT_TRUE(Begin({one, two}, {"one", "two", ""}));
    H().SkipFadeIn();
    Entity* door = Find("Item", "ShipDoor1");
    ASSERT_EQ("a", door->GetID());

    // Without a keycard the lock does nothing.
    PlacePlayer(96.0, 176.0);
    H().QuietSounds();
    H().Tick();
    EXPECT_EQ("ShipDoor1", door->GetType());
    EXPECT_TRUE(H().PlayingSounds().empty());

    PlacePlayer(160.0, 176.0);
    H().Tick();
    EXPECT_TRUE(Pl().mHasKeycard);
    EXPECT_EQ(0, Count("Item", "Keycard"));

    // With one it opens the door of the same id; the keycard is spent and the lock stays.
    PlacePlayer(96.0, 176.0);
    H().QuietSounds();
    H().Tick();
    EXPECT_EQ("ShipDoor2", door->GetType());
    EXPECT_FALSE(Pl().mHasKeycard);
    EXPECT_EQ(1, Count("Item", "KeycardLock"));
    EXPECT_EQ(std::vector<std::string>{"keycard.wav"}, H().PlayingSounds());
    EXPECT_EQ("ShipDoor1", std::next(M().mItems.equal_range("ShipDoor1").first)->second->GetType())
        << "the other door has another id";

    // Walk into the open door. Health and weapon go along; shots do not.
    Pl().SetHealth(70);
    Pl().SetWeapon(true);
    Pl().mHasKeycard = true;
    Pl().mBullets.push_back(std::make_unique<Bullet>());
    PlacePlayer(176.0, 176.0);
    P().mMoveRight = true;
    int updates = 0;
    while (!P().mNextLevel && updates++ < 60)
    {
        H().Tick();
    }
    ASSERT_TRUE(P().mNextLevel);
    EXPECT_EQ(1, P().mCurrentMap) << "counted once, though touched by both probes";
    EXPECT_TRUE(P().mCard) << "the level's time shows first";
    EXPECT_FALSE(P().mBackToMenu);

    const double frozenX = Pl().GetX();
    H().Tick(Card::mLevelUpdates);
    EXPECT_EQ(2, P().mFadeState);
    H().Tick(31);
    EXPECT_EQ(frozenX, Pl().GetX()) << "nothing moves behind the card nor while the level fades out";
    EXPECT_EQ(248, P().mAlpha);
    H().Tick();
    EXPECT_EQ(255, P().mAlpha);
    EXPECT_FALSE(P().mNextLevel);
    EXPECT_EQ("two_bg.png", M().mBackgroundLayerName);
    EXPECT_EQ("Play", H().CurrentState());
    EXPECT_EQ(M().mEntityTypeManager->GetEntityType("Player"), Pl().GetEntityType());
    EXPECT_NE(nullptr, M().mImageManager->GetImage("sprites"));
    EXPECT_EQ(64.0, Pl().GetX());
    // The first update on the new level has already begun to pull the player down.
    EXPECT_NEAR(176.0, Pl().GetY(), 1.0);
    EXPECT_FALSE(Pl().GetDirection());
    EXPECT_EQ(70, Pl().GetHealth());
    EXPECT_TRUE(Pl().GetWeapon());
    EXPECT_FALSE(Pl().mHasKeycard);
    EXPECT_TRUE(Pl().mBullets.empty());
    EXPECT_NEAR(10.0, Pl().mOxygen, 0.031);

    // The new level fades in and plays.
    H().SkipFadeIn();
    H().Tick();
    EXPECT_EQ(0, P().mAlpha);
    EXPECT_EQ(StandingArmed, Pl().GetState());

    // The last level's exit ends the run.
    PlacePlayer(128.0, 176.0);
    H().Tick();
    EXPECT_TRUE(P().mBackToMenu);
    EXPECT_FALSE(P().mNextLevel);
    EXPECT_EQ(1, P().mCurrentMap);
    // Any new key press skips the card, but not one in its first updates (held on the way in).
    H().PressKey(SDL_SCANCODE_A);
    H().Tick(Card::mGraceUpdates);
    EXPECT_EQ(1, P().mFadeState);
    H().PressKey(SDL_SCANCODE_A);
    EXPECT_EQ(2, P().mFadeState);
    Mix_HaltMusic(); // so that music playing at the end was started by the way out
    H().Tick(33);
    EXPECT_EQ("MainMenu", H().CurrentState());
    if (G()->mAudioManager->mIsInitialized)
    {
        EXPECT_TRUE(Mix_PlayingMusic()) << "the menu music starts";
    }
}

TEST_F(PlayTest, AnExitWithOneLevelEndsTheRun)
{
    BeginPlaying(Level("one", "Player 1 2 11 p\nShipDoor2 1 8 11 x\n"));
    PlacePlayer(128.0, 176.0);
    H().Tick();
    EXPECT_TRUE(P().mBackToMenu);
    EXPECT_FALSE(P().mNextLevel);
    H().Tick(Card::mRunUpdates + 33);
    EXPECT_EQ("MainMenu", H().CurrentState());
}

TEST_F(PlayTest, ANextLevelThatFailsToLoadEndsTheRunOnce)
{
    ASSERT_TRUE(Begin({Level("one", "Player 1 2 11 p\nShipDoor2 1 8 11 x\n")}, {"one", "missing"}));
    H().SkipFadeIn();
    PlacePlayer(128.0, 176.0);
    H().Tick();
    ASSERT_TRUE(P().mNextLevel);
    for (int update = 0; update < Card::mGraceUpdates + 40 && H().CurrentState() == "Play"; ++update)
    {
        H().PressKey(SDL_SCANCODE_RIGHT);
        H().Tick();
        H().RenderFrame();
    }
    EXPECT_EQ("MainMenu", H().CurrentState());
    EXPECT_FALSE(P().mNextLevel) << "not tried again";
    EXPECT_TRUE(P().mBackToMenu);
}

// The way out of a level that leads nowhere playable: a next level without a player line (the map keeps
// the previous start across loads, so it must not be reused), or a player who died on the door.
class NextLevelTest : public PlayTest
{
  protected:
    // Begins on a level with an exit door, then steps onto it with the given oxygen left; the level list
    // goes on to a level with the given placement.
    void StepOntoTheDoor(const std::string& nextPlacement, double oxygen)
    {
        ASSERT_TRUE(
            Begin({Level("one", "Player 1 2 11 p\nShipDoor2 1 8 11 x\n"), Level("two", nextPlacement)}));
        H().SkipFadeIn();
        PlacePlayer(128.0, 176.0);
        Pl().mOxygen = oxygen;
        H().Tick();
        ASSERT_TRUE(P().mNextLevel);
    }
};

TEST_F(NextLevelTest, ANextLevelWithoutAPlayerStartEndsTheRun)
{
    StepOntoTheDoor("Health 1 4 11 h\n", 10.0);
    H().Tick(Card::mLevelUpdates + 40);
    EXPECT_EQ("MainMenu", H().CurrentState());
    EXPECT_TRUE(P().mBackToMenu);
}

TEST_F(NextLevelTest, APlayerWhoDiesOnTheExitDoorStaysDead)
{
    StepOntoTheDoor("Player 1 4 11 p\n", 0.01); // the oxygen runs out in the update that reaches the door
    ASSERT_EQ(Dying, Pl().GetState());
    H().Tick(40);
    EXPECT_EQ("MainMenu", H().CurrentState());
    EXPECT_FALSE(Pl().GetIsAlive());
    EXPECT_EQ(0.0, Pl().mOxygen);
}
