// Beginning a game: the level list, the first level and player, failures, and a second game afresh.
#include "PlayTest.h"

#include "graphics/ImageManager.h"

#include <SDL_mixer.h>

#include <stdexcept>

namespace
{
const char* const kPlayerAtColumn0Row5 = "Player 0 0 5 p\n";

// Runs f and returns the message of the std::runtime_error it throws, or "" when it throws none.
template <typename F> std::string ErrorOf(F f)
{
    try
    {
        f();
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "";
}
} // namespace

TEST_F(PlayTest, InitStartsTheFirstListedLevelWithEverythingPlayNeeds)
{
    // A name, a line end and an empty line: two entries, the second empty; the first is played.
    ASSERT_TRUE(Begin({Level("first", kPlayerAtColumn0Row5)}, {"first", ""}));

    EXPECT_EQ((std::vector<std::string>{"first", ""}), P().mMaps);
    EXPECT_EQ(0, P().mCurrentMap);
    EXPECT_EQ("first_bg.png", M().mBackgroundLayerName);
    // Column 0, row 5 is the top-left corner of that tile; the placement faces left.
    EXPECT_EQ(0.0, Pl().GetX());
    EXPECT_EQ(80.0, Pl().GetY());
    EXPECT_FALSE(Pl().GetDirection());
    EXPECT_EQ(M().mEntityTypeManager->GetEntityType("Player"), Pl().GetEntityType());
    EXPECT_EQ(100, Pl().GetHealth());
    EXPECT_NE(nullptr, M().mImageManager->GetImage("tiles"));
    EXPECT_NE(nullptr, M().mImageManager->GetImage("sprites"));
    EXPECT_EQ(200u, P().mStars.size());
    ASSERT_NE(nullptr, P().mBlackScreen);
    EXPECT_EQ(1, P().mFadeState);
    EXPECT_EQ(255, P().mAlpha);
    EXPECT_EQ("Play", H().CurrentState());
    if (G()->mAudioManager->mIsInitialized)
    {
        EXPECT_TRUE(Mix_PlayingMusic()) << "the level music starts";
    }

    // The fade-in from black takes 32 updates.
    H().Tick();
    EXPECT_EQ(247, P().mAlpha);
    H().Tick(30);
    EXPECT_EQ(7, P().mAlpha);
    H().Tick();
    EXPECT_EQ(0, P().mAlpha);
    EXPECT_EQ(1, P().mFadeState);
}

TEST_F(PlayTest, BrokenListsAndLevelsAreReportedWithTheirMessages)
{
    // No list at all.
    ASSERT_TRUE(Begin({Level("room", "Player 1 5 11 p\n")}));
    std::filesystem::remove("data/maps/maps.lst");
    EXPECT_EQ("Unable to load maps.lst!", ErrorOf([this] { P().Init(G()); }));

    mDir.WriteFile("data/maps/maps.lst", "");
    EXPECT_EQ("No maps were found!", ErrorOf([this] { P().Init(G()); }));

    test::WriteLevel(mDir, Level("empty", "Blob1 1 3 11 e\n"));
    mDir.WriteFile("data/maps/maps.lst", "empty\n");
    EXPECT_EQ("Player not on map found!", ErrorOf([this] { P().Init(G()); }));
}

TEST_F(PlayTest, ASecondGameStartsAfreshWithTheSameList)
{
    test::LevelFiles first = Level("one", "Player 1 2 11 p\nItem 1 10 11 x\n");
    ASSERT_TRUE(Begin({first, Level("two", "Player 1 2 11 p\n")}));
    H().SkipFadeIn();
    Pl().SetHealth(40);
    Pl().SetWeapon(true);
    Pl().mHasKeycard = true;
    P().mCurrentMap = 1;
    // Escape ends the game in the main menu after the fade-out.
    H().PressKey(SDL_SCANCODE_ESCAPE);
    H().Tick(32);
    ASSERT_EQ("MainMenu", H().CurrentState());
    ASSERT_EQ(255, P().mAlpha);

    ASSERT_TRUE(H().BeginGame());
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), P().mMaps) << "the list must not grow";
    EXPECT_EQ(0, P().mCurrentMap);
    EXPECT_EQ("one_bg.png", M().mBackgroundLayerName);
    EXPECT_EQ(100, Pl().GetHealth());
    EXPECT_FALSE(Pl().GetWeapon());
    EXPECT_FALSE(Pl().mHasKeycard);
    EXPECT_EQ(10.0, Pl().mOxygen);
    EXPECT_EQ(255, P().mAlpha) << "every game opens black";
    EXPECT_EQ(1, P().mFadeState);
}

TEST_F(PlayTest, AGameThatCannotBeSetUpFadesBackToTheMenuWithoutTouchingTheLevel)
{
    // The list names a level whose description does not exist: Init reports false.
    EXPECT_FALSE(Begin({Level("room", "Player 1 5 11 p\n")}, {"missing"}));
    H().PushKeyDown(SDL_SCANCODE_RIGHT);
    H().PushKeyUp(SDL_SCANCODE_RIGHT);
    H().HandleEvents();
    H().RenderFrame();
    H().Tick(2);
    H().RenderFrame();
    EXPECT_EQ("MainMenu", H().CurrentState());
    EXPECT_EQ(255, P().mAlpha);

    // Even when Init threw half-way (level loaded, no player) and nobody looked, nothing is played.
    test::WriteLevel(mDir, Level("nobody", "Blob1 1 3 11 e\n"));
    mDir.WriteFile("data/maps/maps.lst", "nobody\n");
    H().mGame.mStateManager->ChangeState("Play");
    EXPECT_THROW(P().Init(G()), std::runtime_error);
    H().HandleEvents();
    H().Tick(2);
    H().RenderFrame();
    EXPECT_EQ("MainMenu", H().CurrentState());

    // A level that places a player with a type not called "Player": there is nothing to make it from.
    test::WriteLevel(mDir, Level("hero", "Hero 1 5 11 p\n"));
    mDir.WriteFile("data/maps/entitytypes.cfg", "Player Hero 0 0 0 1 0 -8\n");
    mDir.WriteFile("data/maps/maps.lst", "hero\n");
    EXPECT_FALSE(H().BeginGame());
    H().Tick(2);
    EXPECT_EQ("MainMenu", H().CurrentState());
}

TEST_F(PlayTest, ALevelThatIsNotPlayedSaysOnOneStderrLineWhichFileAndWhy)
{
    using testing::internal::CaptureStderr;
    using testing::internal::GetCapturedStderr;
    CaptureStderr();
    EXPECT_FALSE(Begin({Level("room", "Player 1 5 11 p\n")}, {"missing"}));
    EXPECT_EQ("Unable to load level data/maps/missing: the level file cannot be opened\n",
              GetCapturedStderr());

    std::filesystem::remove("data/maps/room.ent");
    mDir.WriteFile("data/maps/maps.lst", "room\n");
    CaptureStderr();
    EXPECT_FALSE(H().BeginGame());
    EXPECT_EQ("Unable to load level data/maps/room: its placement file data/maps/room.ent cannot be opened\n",
              GetCapturedStderr());

    // A later level without a player start in it ends the run in the main menu as before, now with a word.
    test::WriteLevel(mDir, Level("room", "Player 1 5 11 p\n"));
    test::WriteLevel(mDir, Level("nobody", "Player 1 -1 -1 p\n"));
    mDir.WriteFile("data/maps/maps.lst", "room\nnobody\n");
    CaptureStderr();
    ASSERT_TRUE(H().BeginGame());
    H().SkipFadeIn();
    P().mCurrentMap = 1;
    P().mNextLevel = true;
    P().mFadeState = 2;
    H().Tick(70);
    EXPECT_EQ("Unable to load level data/maps/nobody: its player start -1,-1 lies outside the level\n",
              GetCapturedStderr());
    EXPECT_EQ("MainMenu", H().CurrentState());
}
