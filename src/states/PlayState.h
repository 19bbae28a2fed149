// The screen where the game is played: level list, input, the fixed update, collisions and drawing.
#pragma once

#include "State.h"
#include "graphics/Utils.h"
#include "player/Assist.h"
#include "states/Fade.h"

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class Card;
class Entity;
class Ghost;
class Image;
class Lift;
class Map;
class Player;
class RaceLink;
struct TileCollision;

class PlayState : public State
{
  public:
    PlayState();
    ~PlayState() override;

    bool Init(Game* game) override;
    void CleanUp() override;
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game* game) override;
    void Tick(Game* game) override;
    void Render(Game* game, const float& interpolation) override;

    // Plays the level file alone instead of the level list, from the next Init on; its end (death, the exit
    // door, Escape) ends the program through the credits. A recorded input, when given, steers the
    // player in place of the game keys.
    void PlayOnly(const std::string& levelFile, std::vector<unsigned> replay);
    // Plays the level given to PlayOnly as a race against a run through it, from the next Init on: the run is
    // the ghost, a card shows the time to beat before the start and the difference after the exit. levelName
    // is how the cards name the level. PlayOnly ends the race.
    void RaceAgainst(std::unique_ptr<RaceLink> race, std::string levelName);
    // The race link of the run that last passed an exit, replayed first. Throws std::runtime_error saying
    // why there is none (no such run, or it does not replay, or its level cannot travel in a link).
    std::string MakeRaceLink(Game* game) const;
    bool HasFinishedRun() const { return !mFinishedRun.empty(); }
    // After a level played alone, go back to this screen instead of ending the program ("" ends it).
    void ReturnTo(const std::string& state) { mReturnState = state; }
    // Sets this screen up as a silent world of its own on one level file, steered by a recorded input, with
    // none of the player's files touched: the world a ghost runs in, under the given assists. False when the
    // level cannot be played.
    bool Simulate(Game* game, const std::string& levelFile, std::vector<unsigned> input,
                  const Assist& rules = Assist());
    // One update of such a world, the camera placed as drawing would place it. False, running nothing, once
    // it has stopped: at the exit, where its input ends, or at its death.
    bool StepSimulation(Game* game);
    // One line on stderr saying why a level is not played.
    static void ReportLevelFailure(const std::string& level, const std::string& reason);

    bool IsEntityCollision(Entity* a, Entity* b);
    // The first registered entity that e touches, or null.
    Entity* GetEntityCollision(Game* game, Entity* e);
    void UpdateEntity(Game* game, Entity* e);
    void CheckPlayerCollision(Game* game, bool fromAbove);
    void AquireItem(Game* game, Entity* item);

    bool mBackToMenu = false;
    bool mQuitRequested = false;
    bool mNextLevel = false;
    bool mMoveLeft = false;
    bool mMoveRight = false;
    bool mDoJump = false;
    bool mDoFire = false;
    unsigned int mFireTimer = 0; // updates since the last shot
    int mAlpha = Fade::mOpaque;
    int mCurrentMap = 0;             // index in mMaps of the level being played
    int mFadeState = Fade::FadingIn; // also while playing; Idle right after a completed fade-out
    std::unique_ptr<Image> mBlackScreen;
    std::unique_ptr<Player> mPlayer;
    std::unique_ptr<Map> mMap;
    std::vector<Utils::Star> mStars;
    std::vector<std::string> mMaps;

    // The level Init starts at, by its name in the list (Continue); empty or not listed: the first. Init
    // uses it once.
    std::string mFirstLevel;
    // Updates the current level has run, pauses excluded; it stops when the exit is passed.
    int mLevelTime = 0;
    // This run's time of each level of mMaps, 0 for the levels not finished in it.
    std::vector<int> mRunTimes;
    // The card shown after an exit until play moves on; null while playing.
    std::unique_ptr<Card> mCard;
    // The run's table of times while the story's ending page is shown before it.
    std::unique_ptr<Card> mEndingCard;
    // The card before a race: the world waits for a key. Null otherwise.
    std::unique_ptr<Card> mStartCard;

    // The rules this world runs by: the player's assist options, or none in a ghost's world.
    Assist mRules;
    // A world that plays no sound (a ghost's).
    bool mSilent = false;
    // The current level had an assist on in some update; its time is then kept apart from the bests.
    bool mLevelAssisted = false;
    // Which of this run's levels were assisted, by index in mMaps.
    std::vector<bool> mRunAssisted;
    // The keys held in each update of the current level so far (InputScript bits), replayable as it was.
    std::vector<unsigned> mRecording;
    // The ghost running beside the player, or null; and the choice it was made for.
    std::unique_ptr<Ghost> mGhost;
    Assist::Ghost mGhostChoice = Assist::Ghost::Off;

    // The level tune play started last ("level.ogg" unless the level names one the game has).
    const std::string& Tune() const { return mTune; }

    // A paused game runs nothing of the world; only the fades and the way out go on.
    bool IsPaused() const { return mPauseCard != nullptr; }
    void SetPaused(Game* game, bool paused);

  private:
    // Input (PlayStateInput.cpp). Each returns false when polling stops for this pass.
    bool HandleEvent(Game* game, const SDL_Event& event);
    bool HandleKeyDown(Game* game, const SDL_KeyboardEvent& event);
    bool HandleKeyUp(Game* game, const SDL_KeyboardEvent& event);
    // The controllers' and touch controls' part of the pass, after the keyboard's events.
    void ApplyDevices(Game* game);
    void TogglePause(Game* game);
    // Opens the assist screen while paused; false (nothing done) otherwise.
    bool OpenAssist(Game* game);
    // The game controls (InputScript bits) a key is bound to.
    static unsigned KeyControls(Game* game, int code);
    bool PressGameKey(Game* game, int code, bool repeat);
    bool PressControls(unsigned controls, bool repeat);
    bool ReleaseControls(unsigned controls);
    // Presses and releases the game keys as the recorded input's next update holds them.
    void StepReplay(Game* game);
    std::optional<bool> KeyBypassesPlayer();
    void TakeScreenshot(Game* game);
    bool IsEnding() const { return mBackToMenu || mQuitRequested || mNextLevel; }
    void ClearInput();
    // The keys as a recorded input holds them in this update.
    unsigned RecordedKeys() const;

    // Simulation (PlayStateTick.cpp). StepFade returns false when the update ends with it.
    bool StepFade(Game* game);
    void UpdateWorld(Game* game);
    void Steer(Game* game);
    void Fire(Game* game);
    void UpdateShots(Game* game);
    void UpdatePlainEntities(Game* game);
    void ShootEnemies(Game* game);
    void UpdateEnemies(Game* game);
    void UpdateItems(Game* game);

    // Set-up (PlayState.cpp): loads level mCurrentMap into the existing map and moves the player there.
    bool StartNextLevel(Game* game);
    std::string LevelPath(int index) const;

    // Plays a sound, unless this world is silent.
    void Sound(Game* game, const char* name);
    // Starts the tune the level names ("level.ogg" when it names none), unless it plays already.
    void PlayLevelTune(Game* game, bool restart);

    // The ghost (PlayStateGhost.cpp): made afresh for the level and the player's choice, caught up with the
    // level clock; and the best run's recording kept for the next time.
    void StartGhost(Game* game);
    std::vector<unsigned> GhostInput(Game* game) const;
    // The recorded input shipped beside a level file ("level1.map" plays "level1.replay"); empty when there
    // is none to read.
    static std::vector<unsigned> ParInput(const std::string& levelFile);
    void KeepBestRun(Game* game, int index);

    // Lifts and air vents (PlayStateFittings.cpp).
    static bool IsLift(const Entity* e);
    // What falls can stand on a lift: the player, blobs, the pick-ups that drop.
    static bool CanRide(const Entity& e);
    static bool IsRiding(const Entity& e, const Lift& lift);
    // One update of a lift: its wait, or its move with everything standing on it.
    void StepLift(Game* game, Lift& lift);
    // After e's vertical move from y0: feet that reached a lift's top stand on it.
    void LandOnLifts(Entity* e, double y0);
    // Pushes e upwards while a blowing vent below it reaches it; true when it did.
    bool BlowVents(Entity* e);

    // Collisions (PlayStateCollision.cpp).
    void ApplyTileHarm(Game* game, Entity* e, const TileCollision& collision);
    void FinishLevel();

    // Races (PlayStateRace.cpp): the card before a race, the run kept for its link, the strongest assists.
    void ShowRaceStart();
    void KeepFinishedRun(int index);
    // The level card says how to send the run.
    void OfferRace();
    void KeepStrongestRules();
    // The level card's control that sends the run as a race link (Fire, whatever the device).
    void SendRaceFromCard(Game* game);

    // Rendering (PlayStateRender.cpp).
    void DrawShots(Image& sprites, SDL_Surface* screen);
    void DrawPlayer(Image* sprites, SDL_Surface* screen);
    void DrawCountdown(Game* game, SDL_Surface* screen);

    // A run through the levels (PlayStateRun.cpp): the level clock, progress, cards and pausing.
    void BeginLevel(Game* game);
    void ShowExitCard(Game* game);
    // The length in updates of the shipped recorded input of one of the listed levels; 0 for none.
    static int Par(const std::string& level);
    bool HandleCardKey(bool repeat);
    bool IsPauseKey(Game* game, int code) const;
    // A key the player bound to a game action.
    static bool IsBound(Game* game, int code);
    bool CanPause() const;
    // A card is up and takes the keys; once it fades out they wait for the next level as in any ending.
    bool IsCardUp() const { return mCard && mFadeState != Fade::FadingOut; }

    // True only while a level and the player are fully set up; play touches neither otherwise.
    bool mLevelReady = false;
    // Set by the exit door during an update; its card is shown once the update is over.
    bool mExitReached = false;
    std::unique_ptr<Card> mPauseCard; // null while not paused

    std::unique_ptr<RaceLink> mRace; // the race played, or null
    std::string mRaceName;
    Assist mRunRules; // the strongest assists any update of this level ran under
    // The level last finished, its run and the assists it was made with, for its race link.
    std::string mFinishedLevel;
    std::vector<unsigned> mFinishedRun;
    Assist mFinishedRules;
    bool mRaceSent = false; // the card shows the link already

    std::string mOnlyLevel;   // a level file played alone; empty for the level list
    std::string mReturnState; // where a level played alone returns to; empty: the program ends
    std::vector<unsigned> mReplay;
    std::size_t mReplayUpdate = 0; // the next update of mReplay to play
    unsigned mReplayHeld = 0;      // the keys mReplay holds down
    unsigned mKeysDown = 0;        // jump and fire as a recorded input holds them (InputScript bits)
    std::vector<Entity*> mRiders;  // what the lift being moved carries; kept to spare allocations
    bool mInVentWind = false;      // a vent lifted the player in the last update
    std::string mTune;             // the level tune last started
};
