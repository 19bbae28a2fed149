// A run through the levels: the progress file, Continue from the real main menu, pausing and the level clock.
#include "PlayTest.h"

#include "Timer.h"
#include "editor/RaceLink.h"
#include "editor/ScratchLevel.h"
#include "io/InputScript.h"
#include "player/Progress.h"
#include "states/AssistState.h"
#include "states/Card.h"
#include "states/Ghost.h"
#include "states/MainMenuState.h"
#include "states/Race.h"
#include "states/StoryState.h"

#include "entities/Player.h"
#include "graphics/Image.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <utility>

class RunTest : public PlayTest
{
  protected:
    // Two rooms, each with its exit hatch six tiles right of the start.
    bool BeginTwoRooms()
    {
        const std::string room = "Player 1 2 11 p\nShipDoor2 1 8 11 x\n";
        return Begin({Level("one", room), Level("two", room)});
    }
    // Waits, then walks right into the hatch; the level's time on its card.
    int WalkOut(int wait)
    {
        H().Tick(wait);
        P().mMoveRight = true;
        for (int update = 0; update < 100 && !P().mCard; ++update)
        {
            H().Tick();
        }
        EXPECT_TRUE(P().mCard) << "the hatch was not reached";
        return P().mLevelTime;
    }
    bool Saved(const std::string& line)
    {
        return mDir.ReadFile(Progress::mFileName).find(line + "\n") != std::string::npos;
    }
    void LoseFocus()
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
        SDL_PushEvent(&event);
        H().HandleEvents();
    }
    int MusicVolume() { return G()->mAudioManager->mIsInitialized ? Mix_VolumeMusic(-1) : 0; }
};

TEST_F(RunTest, EnteringALevelIsWrittenAndABestTimeOnlyImproves)
{
    ASSERT_TRUE(BeginTwoRooms());
    EXPECT_TRUE(Saved("reached one"));
    const int first = WalkOut(10);
    EXPECT_TRUE(Saved("best " + std::to_string(first) + " one"));
    H().Tick(Card::mLevelUpdates + 32);
    ASSERT_EQ(1, P().mCurrentMap);
    EXPECT_TRUE(Saved("reached two"));

    // New games: a slower time leaves the best alone, a faster one replaces it; the furthest level stays.
    const struct
    {
        int wait;
        int time;
        int best;
        const char* footer;
    } runs[] = {{40, first + 30, first, ""}, {0, first - 10, first - 10, "New best time!"}};
    for (const auto& run : runs)
    {
        ASSERT_TRUE(H().BeginGame());
        EXPECT_EQ(run.time, WalkOut(run.wait));
        EXPECT_EQ(run.best, G()->mProgress.Best("one"));
        EXPECT_EQ(run.footer, P().mCard->mFooter);
        EXPECT_TRUE(Saved("best " + std::to_string(run.best) + " one"));
        EXPECT_TRUE(Saved("reached two"));
    }
    Progress reread;
    EXPECT_EQ("", reread.Load());
    EXPECT_EQ(G()->mProgress.mBest, reread.mBest);
    EXPECT_EQ(std::set<std::string>({"one", "two"}), reread.mReached);
}

TEST_F(RunTest, ContinueStartsAtTheFurthestLevelWithAFreshPlayerAndNoStory)
{
    ASSERT_TRUE(BeginTwoRooms());
    Pl().SetHealth(40);
    Pl().SetWeapon(true);
    Pl().mHasKeycard = true;
    Pl().mOxygen = 3.0;

    // The real title screen, first with the first level reached: nothing to continue.
    test::WriteMenuPictures(mDir);
    StateManager& states = *G()->mStateManager;
    states.RemoveState("MainMenu");
    auto* menu = new MainMenuState();
    states.AddState("MainMenu", G()->mMainMenuState = menu);
    ASSERT_TRUE(menu->Init(G()));
    H().Show("MainMenu");
    H().Tick();
    EXPECT_FALSE(menu->mContinueShown);

    // Progress from an earlier session, read as start-up reads it.
    mDir.WriteFile(Progress::mFileName, "// kept by the game\nreached two\nbest 90 one\n");
    G()->mProgress.Load();
    H().Tick();
    ASSERT_TRUE(menu->mContinueShown);
    EXPECT_EQ(0, menu->mSelectedOption) << "the arrow starts on Continue";
    H().PressKey(SDL_SCANCODE_RETURN);
    for (int update = 0; update < 40 && H().CurrentState() == "MainMenu"; ++update)
    {
        H().Tick();
    }
    ASSERT_EQ("Play", H().CurrentState()) << "straight into play, without the story";
    EXPECT_EQ(1, P().mCurrentMap);
    EXPECT_EQ("two_bg.png", M().mBackgroundLayerName);
    EXPECT_EQ(100, Pl().GetHealth());
    EXPECT_EQ(10.0, Pl().mOxygen);
    EXPECT_FALSE(Pl().GetWeapon());
    EXPECT_FALSE(Pl().mHasKeycard);
    EXPECT_EQ(0, P().mLevelTime);
    EXPECT_TRUE(P().mFirstLevel.empty()) << "a later new game starts at the first level again";
}

TEST_F(RunTest, TheLastExitTypesTheEndingThenShowsTheRunsTableAndContinueStillWorks)
{
    test::WriteMenuPictures(mDir);
    mDir.WriteFile("data/story.txt", "Board her.\n[ending]\nShe flies.\n");
    ASSERT_TRUE(BeginTwoRooms());
    StateManager& states = *G()->mStateManager;
    states.RemoveState("Story");
    auto* story = new StoryState();
    states.AddState("Story", G()->mStoryState = story);
    ASSERT_TRUE(story->Init(G()));
    states.RemoveState("MainMenu");
    auto* menu = new MainMenuState();
    states.AddState("MainMenu", G()->mMainMenuState = menu);
    ASSERT_TRUE(menu->Init(G()));
    H().Show("Play");

    WalkOut(0);
    EXPECT_EQ("Level 1 complete", P().mCard->mHeading) << "no ending after a level that is not the last";
    H().Tick(Card::mLevelUpdates + 32);
    ASSERT_EQ(1, P().mCurrentMap);

    // The last exit: no table yet, play fades out to the ending page.
    P().mMoveRight = true;
    for (int update = 0; update < 200 && H().CurrentState() == "Play"; ++update)
    {
        H().Tick();
        ASSERT_FALSE(P().mCard && P().mCard->mHeading != "All levels complete" && update > 60);
    }
    ASSERT_EQ("Story", H().CurrentState());
    EXPECT_TRUE(story->mEnding);
    ASSERT_TRUE(P().mCard);
    EXPECT_EQ("All levels complete", P().mCard->mHeading) << "the table waits behind the ending";
    H().Tick(60);
    EXPECT_EQ("She flies.", story->mEndingLines[story->mCurrentLine]);

    H().PressKey(SDL_SCANCODE_SPACE);
    H().Tick(32);
    ASSERT_EQ("Play", H().CurrentState());
    EXPECT_EQ(1, P().mCurrentMap) << "back to the same run, not a new game";
    ASSERT_TRUE(P().mCard);
    EXPECT_EQ(4u + 2u, P().mCard->mBody.size()) << "both levels, the heading line and the total";
    H().Tick(Card::mRunUpdates + 40);
    ASSERT_EQ("MainMenu", H().CurrentState());
    EXPECT_TRUE(menu->mContinueShown);

    // Continue after the last level plays the last level again; a new game's story is the opening.
    H().PressKey(SDL_SCANCODE_RETURN);
    for (int update = 0; update < 40 && H().CurrentState() == "MainMenu"; ++update)
    {
        H().Tick();
    }
    ASSERT_EQ("Play", H().CurrentState());
    EXPECT_EQ(1, P().mCurrentMap);
    EXPECT_FALSE(story->mEnding);
}

TEST_F(RunTest, ALevelPlaysTheTuneItNamesWhenTheGameHasItAndTheUsualOneOtherwise)
{
    const std::string room = "Player 1 2 11 p\nShipDoor2 1 8 11 x\n";
    const std::pair<const char*, const char*> levels[] = {
        {"one", ""}, {"two", "music menu.ogg\n"}, {"three", "music gone.ogg\n"}};
    for (const auto& [name, music] : levels)
    {
        test::WriteLevel(mDir, Level(name, room));
        mDir.WriteFile(std::string("data/maps/") + name,
                       mDir.ReadFile(std::string("data/maps/") + name) + music);
    }
    ASSERT_TRUE(Begin({}, {"one", "two", "three"}));
    if (!G()->mAudioManager->mIsInitialized)
    {
        GTEST_SKIP() << "no audio device: no tune is loaded";
    }
    for (const char* tune : {"level.ogg", "menu.ogg", "level.ogg"})
    {
        EXPECT_EQ(tune, P().Tune()) << "level " << P().mCurrentMap;
        WalkOut(0);
        H().Tick(Card::mLevelUpdates + 32);
    }
}

TEST_F(RunTest, APauseStopsTheAirAndTheClockAndResumesWithoutCatchingUp)
{
    BeginPlaying(Level("one", "Player 1 2 11 p\n"));
    // The main loop's own clock, moved by hand: one pass is events, then the updates that are due.
    double now = 1000.0;
    G()->mTimer = std::make_unique<Timer>();
    G()->mTimer->mClock = [&now] { return now; };
    G()->mTimer->Init(60.0);
    const auto pass = [&](double milliseconds)
    {
        now += milliseconds;
        G()->mTimer->BeginPass();
        H().HandleEvents();
        return G()->mTimer->RunUpdates([this] { H().Tick(); });
    };
    const int musicVolume = MusicVolume();
    P().mMoveRight = true;
    EXPECT_EQ(1, pass(34.0));

    H().PushKeyDown(SDL_SCANCODE_P);
    pass(34.0);
    ASSERT_TRUE(P().IsPaused());
    EXPECT_EQ(musicVolume / 4, MusicVolume()) << "the music plays on, quieter";
    const double oxygen = Pl().mOxygen;
    const int clock = P().mLevelTime;
    const double x = Pl().GetX();
    for (int i = 0; i < 90; ++i)
    {
        pass(34.0);
    }
    EXPECT_EQ(oxygen, Pl().mOxygen);
    EXPECT_EQ(clock, P().mLevelTime);
    EXPECT_EQ(x, Pl().GetX());

    // The window stalled for five seconds just before the player resumes: none of it is made up.
    H().PushKeyDown(SDL_SCANCODE_P);
    EXPECT_EQ(0, pass(5000.0));
    EXPECT_FALSE(P().IsPaused());
    EXPECT_EQ(musicVolume, MusicVolume());
    EXPECT_EQ(1, pass(34.0));
    EXPECT_EQ(clock + 1, P().mLevelTime);
    EXPECT_LT(Pl().mOxygen, oxygen);
    EXPECT_GT(Pl().GetX(), x) << "the key held through the pause still walks";
}

TEST_F(RunTest, LosingFocusPausesAlsoDuringTheCardAndEscapeStillLeaves)
{
    ASSERT_TRUE(BeginTwoRooms());
    H().SkipFadeIn();
    LoseFocus();
    EXPECT_TRUE(P().IsPaused());
    H().PressKey(SDL_SCANCODE_P);
    ASSERT_FALSE(P().IsPaused());

    // Left alone during the card, the next level waits paused.
    WalkOut(0);
    LoseFocus();
    H().Tick(Card::mLevelUpdates + 40);
    ASSERT_EQ(1, P().mCurrentMap);
    EXPECT_TRUE(P().IsPaused());
    EXPECT_EQ(0, P().mLevelTime);

    H().PressKey(SDL_SCANCODE_ESCAPE);
    H().Tick(32);
    EXPECT_EQ("MainMenu", H().CurrentState());
    EXPECT_FALSE(P().IsPaused()) << "the pause ends with play";
}

TEST(Card, TimesShowToTheHundredthUpToTheClocksLimit)
{
    const std::pair<int, const char*> times[] = {
        {-5, "--:--.--"}, {0, "--:--.--"},    {1, "00:00.03"},    {29, "00:00.96"},
        {30, "00:01.00"}, {1799, "00:59.96"}, {1800, "01:00.00"}, {Progress::mMaxTime, "99:59.96"}};
    for (const auto& [updates, text] : times)
    {
        EXPECT_EQ(text, Card::FormatTime(updates)) << updates;
    }
}

TEST(Card, AColumnHasATotalOnlyWhenEveryLevelHasATime)
{
    const auto card = Card::Run({{30, 60, 90}, {0, 45, 0}, {3, 3, 3}});
    const std::vector<std::string> body = {
        "Level  Time      Best      Par",      "",
        "    1  00:01.00  00:02.00  00:03.00", "    2  --:--.--  00:01.50  --:--.--",
        "    3  00:00.10  00:00.10  00:00.10", "",
        "Total  --:--.--  00:03.60  --:--.--"};
    EXPECT_EQ(body, card->mBody);
}

TEST_F(RunTest, TheCardShowsTheParOfTheInputBesideTheLevelAndProgressThatCouldNotBeSaved)
{
    ASSERT_TRUE(BeginTwoRooms());
    mDir.WriteFile("data/maps/one.replay", "// the par\nR40 -5\n");
    std::filesystem::remove(mDir.Path() / Progress::mFileName);
    std::filesystem::create_directory(mDir.Path() / Progress::mFileName);
    const std::vector<std::string> unsaved = {"", "Progress could not be saved:", "kesv.sav: Is a directory"};

    testing::internal::CaptureStderr();
    WalkOut(0);
    EXPECT_EQ("Kestrovane: progress not saved: kesv.sav: Is a directory\n",
              testing::internal::GetCapturedStderr());
    const std::vector<std::string>& level = P().mCard->mBody;
    ASSERT_EQ(6u, level.size());
    EXPECT_EQ("Par    00:01.50", level[2]);
    EXPECT_EQ(unsaved, std::vector<std::string>(level.begin() + 3, level.end()));

    H().Tick(Card::mLevelUpdates + 32);
    testing::internal::CaptureStderr();
    WalkOut(0);
    testing::internal::GetCapturedStderr();
    const std::vector<std::string>& run = P().mCard->mBody;
    ASSERT_EQ(9u, run.size());
    EXPECT_EQ("00:01.50", run[2].substr(run[2].size() - 8));
    EXPECT_EQ("--:--.--", run[3].substr(run[3].size() - 8)) << "no input beside the level, no par";
    EXPECT_EQ(unsaved, std::vector<std::string>(run.end() - 3, run.end()));
}

TEST(Card, ARunOfTwentyLevelsListsEveryOneOnTheScreenWithItsBlankLinesClosedUp)
{
    std::vector<Card::Times> levels(20, {30, 30, 30});
    levels[3].mAssisted = true;
    const auto card = Card::Run(levels);
    const std::vector<std::string> shown = card->Fitted(240, 8);
    ASSERT_EQ(card->mBody.size() - 3, shown.size()) << "the three blank lines give way, nothing else";
    EXPECT_EQ("   20  00:01.00  00:01.00  00:01.00", shown[20]);
    EXPECT_EQ("* assisted", shown.back());

    // A longer list does not fit: the middle of the list gives way, the total and the note stay.
    levels.resize(22, {30, 30, 30});
    const std::vector<std::string> cut = Card::Run(levels)->Fitted(240, 8);
    EXPECT_EQ(23u, cut.size());
    EXPECT_EQ("  ...", cut[cut.size() - 3]);
    EXPECT_EQ("* assisted", cut.back());
}

TEST_F(RunTest, ALongListOfLevelsStaysOnTheScreen)
{
    BeginPlaying(Level("one", "Player 1 2 11 p\n"));
    SDL_Surface* screen = G()->mScreen->mSurface;
    const auto card =
        Card::Run(std::vector<Card::Times>(60, {30, 30, 30}), "kesv.sav: No space left on device");
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    card->Render(screen, *G()->mFont, *P().mBlackScreen);
    const auto greyInRow = [this](int y)
    {
        int count = 0;
        for (int x = 0; x < 320; ++x)
        {
            const SDL_Color colour = H().Pixel(x, y);
            count += colour.r == 192 && colour.g == 192 && colour.b == 192;
        }
        return count;
    };
    int borders = 0;
    for (int y = 0; y < 240; ++y)
    {
        borders += greyInRow(y) > 200;
    }
    EXPECT_EQ(2, borders) << "the box's top and bottom edges are both on the screen";
}

TEST_F(RunTest, PauseIsOnlyForPlayAndHoldsNoJumpOrShotForLater)
{
    BeginPlaying(Level("one", "Player 1 2 11 p\n"));
    ASSERT_TRUE(TickUntilGrounded());

    // A jump and a shot asked for while paused are dropped.
    Pl().SetWeapon(true);
    H().Tick(10);
    H().PressKey(SDL_SCANCODE_P);
    ASSERT_TRUE(P().IsPaused());
    H().PressKey(static_cast<SDL_Scancode>(G()->mKeyJump));
    H().PressKey(static_cast<SDL_Scancode>(G()->mKeyFire));
    H().PressKey(SDL_SCANCODE_P);
    ASSERT_FALSE(P().IsPaused());
    H().Tick();
    EXPECT_TRUE(Pl().GetIsOnGround());
    EXPECT_TRUE(Pl().mBullets.empty());

    // P bound to a game action does that action.
    G()->mKeyJump = SDL_SCANCODE_P;
    H().PressKey(SDL_SCANCODE_P);
    EXPECT_FALSE(P().IsPaused());
    H().Tick();
    EXPECT_FALSE(Pl().GetIsOnGround()) << "P jumped";
    G()->mKeyJump = SDL_SCANCODE_UP;

    // No pause while dying or while play fades out.
    Pl().SetState(Dying);
    H().PressKey(SDL_SCANCODE_PAUSE);
    EXPECT_FALSE(P().IsPaused());
    ASSERT_TRUE(H().BeginGame());
    H().SkipFadeIn();
    H().PressKey(SDL_SCANCODE_ESCAPE);
    H().PressKey(SDL_SCANCODE_PAUSE);
    EXPECT_FALSE(P().IsPaused());

    // Closing the window while paused still leads to the credits.
    ASSERT_TRUE(H().BeginGame());
    H().SkipFadeIn();
    H().PressKey(SDL_SCANCODE_PAUSE);
    ASSERT_TRUE(P().IsPaused());
    H().PushQuit();
    H().HandleEvents();
    H().Tick(33);
    EXPECT_EQ("Credits", H().CurrentState());
}

TEST_F(RunTest, AnAssistedTimeIsMarkedAndNeverReplacesTheBestOrItsGhost)
{
    // An unassisted first run keeps its recording, which replays to its own time.
    ASSERT_TRUE(BeginTwoRooms());
    const int best = WalkOut(10);
    const std::string ghostFile = "kesv.ghost." + G()->mProgress.SetKey() + ".one";
    ASSERT_TRUE(mDir.Exists(ghostFile));
    const std::string recording = mDir.ReadFile(ghostFile);
    const auto replayed = Ghost::Start(G(), "data/maps/one", InputScript::Load(ghostFile));
    ASSERT_TRUE(replayed);
    EXPECT_EQ(best, replayed->RunToEnd(G()));

    // Faster, at half speed, racing that ghost: marked, compared, and kept apart.
    G()->mAssist.mSpeed = 50;
    ASSERT_TRUE(H().BeginGame());
    ASSERT_TRUE(P().mGhost);
    const int assisted = WalkOut(0);
    ASSERT_EQ(best - 10, assisted);
    const std::vector<std::string>& card = P().mCard->mBody;
    EXPECT_EQ("Time   " + Card::FormatTime(assisted) + "  assisted", card[0]);
    EXPECT_EQ("Ghost  -0.33 s", card.back());
    EXPECT_EQ("", P().mCard->mFooter) << "no new best";
    EXPECT_EQ(best, G()->mProgress.Best("one"));
    EXPECT_EQ(recording, mDir.ReadFile(ghostFile));
    EXPECT_EQ("+1.23 s", Card::FormatDifference(37));
}

TEST_F(RunTest, EnterOnThePauseCardOpensTheAssistScreenWhoseChoicesTakeEffectOnReturn)
{
    BeginPlaying(Level("one", "Player 1 2 11 p\n"));
    test::WriteMenuPictures(mDir);
    auto* assist = new AssistState();
    G()->mStateManager->AddState("Assist", G()->mAssistState = assist);
    ASSERT_TRUE(assist->Init(G()));

    H().PressKey(SDL_SCANCODE_RETURN);
    EXPECT_EQ("Play", H().CurrentState()) << "only a paused game opens it";
    H().PushKeyDown(SDL_SCANCODE_P);
    H().PressKey(SDL_SCANCODE_RETURN);
    ASSERT_EQ("Assist", H().CurrentState());

    // Air: twice as long, then back to the game, which waits paused.
    H().Tick(32);
    for (const SDL_Scancode key : {SDL_SCANCODE_DOWN, SDL_SCANCODE_RIGHT, SDL_SCANCODE_ESCAPE})
    {
        H().PressKey(key);
    }
    H().Tick(33);
    ASSERT_EQ("Play", H().CurrentState());
    EXPECT_TRUE(P().IsPaused());
    const double oxygen = Pl().mOxygen;
    H().PressKey(SDL_SCANCODE_P);
    H().Tick(10);
    EXPECT_NEAR(oxygen - 10 * 0.015, Pl().mOxygen, 1e-9);
    EXPECT_TRUE(P().mLevelAssisted);
}

TEST_F(RunTest, FireOnTheLevelCardSendsTheRunAsARaceThatIsThenRacedAgainstItsTime)
{
    ASSERT_TRUE(BeginTwoRooms());
    const int sent = WalkOut(10);
    EXPECT_EQ("Fire: send this run as a race", P().mCard->mAction);
    H().Tick(Card::mGraceUpdates);
    testing::internal::CaptureStdout();
    H().PressKey(SDL_SCANCODE_SPACE);
    const std::string printed = testing::internal::GetCapturedStdout();
    const std::string link = printed.substr(0, printed.find('\n'));
    ASSERT_TRUE(RaceLink::IsRace(link)) << printed;
    H().Tick(2 * Card::mLevelUpdates);
    ASSERT_TRUE(P().mCard) << "the card stays while the link is copied";
    const std::vector<std::string>& body = P().mCard->mBody;
    EXPECT_NE(body.end(), std::find(body.begin(), body.end(), link.substr(0, 36)));

    // The friend's side: the level at once, the world waiting behind the time to beat.
    auto race = std::make_unique<RaceLink>(RaceLink::Unpack(link));
    ScratchLevel scratch;
    const std::string level = Race::Open(*race, scratch);
    Race::Check(G(), *race, level);
    P().PlayOnly(level, {});
    P().RaceAgainst(std::move(race), "Level 1");
    ASSERT_TRUE(P().Init(G()));
    H().Tick(40);
    ASSERT_TRUE(P().mStartCard);
    EXPECT_EQ("Time to beat  " + Card::FormatTime(sent), P().mStartCard->mBody[2]);
    EXPECT_EQ(0, P().mLevelTime);
    H().PressKey(SDL_SCANCODE_RIGHT);
    EXPECT_FALSE(P().mStartCard);
    H().Tick();
    ASSERT_TRUE(P().mGhost) << "the sender's run races beside the player";
    EXPECT_EQ(sent - 10, WalkOut(0));
    const std::vector<std::string>& result = P().mCard->mBody;
    EXPECT_EQ("To beat " + Card::FormatTime(sent), result[result.size() - 2]);
    EXPECT_EQ("Race   -0.33 s", result.back());
    EXPECT_EQ("Race won!", P().mCard->mFooter);
}
