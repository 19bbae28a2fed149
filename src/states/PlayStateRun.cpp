// A run through the levels: the level clock, the progress kept, the cards after an exit, and pausing.
#include "states/PlayState.h"

#include "Game.h"
#include "Timer.h"
#include "audio/AudioManager.h"
#include "editor/RaceLink.h"
#include "entities/Player.h"
#include "states/Card.h"
#include "states/Ghost.h"
#include "states/StoryState.h"

int PlayState::Par(const std::string& level)
{
    return static_cast<int>(ParInput("data/maps/" + level).size());
}

void PlayState::BeginLevel(Game* game)
{
    mLevelTime = 0;
    mExitReached = false;
    mInVentWind = false;
    mLevelAssisted = false;
    mRecording.clear();
    mCard.reset();
    mRunRules = Assist();
    mFinishedRun.clear();
    if (!mSilent)
    {
        StartGhost(game);
        ShowRaceStart();
    }
    // A level file played alone is not one of the game's levels: the player's progress is left alone.
    if (mOnlyLevel.empty())
    {
        game->mProgress.Reach(mMaps, static_cast<std::size_t>(mCurrentMap));
    }
}

void PlayState::ShowExitCard(Game* game)
{
    mExitReached = false;
    // A player who died on the way out has no time: the run ends as anywhere else.
    if (!mPlayer->GetIsAlive())
    {
        return;
    }
    const int finished = mNextLevel ? mCurrentMap - 1 : mCurrentMap;
    const std::string& level = mMaps[static_cast<std::size_t>(finished)];
    mRunTimes[static_cast<std::size_t>(finished)] = mLevelTime;
    mRunAssisted[static_cast<std::size_t>(finished)] = mLevelAssisted;
    KeepFinishedRun(finished);
    ClearInput();
    // The ghost still on its way plays on to the exit (or its end), for its time.
    const int ghostTime = mGhost ? mGhost->RunToEnd(game) : 0;
    if (!mOnlyLevel.empty())
    {
        // Its time against the recorded input it was played with, if any, or the race's time to beat.
        Card::Times times{mLevelTime, 0, static_cast<int>(mReplay.size()), ghostTime, mLevelAssisted};
        times.mToBeat = mRace ? mRace->mTime : 0;
        mCard = Card::Level(1, times, false);
        OfferRace();
        game->mExitStatus = 0;
        return;
    }
    Progress& progress = game->mProgress;
    const int earlierBest = progress.Best(level);
    // An assisted time is shown, but never replaces a best or its ghost.
    if (!mLevelAssisted && progress.RecordTime(level, mLevelTime))
    {
        KeepBestRun(game, finished);
    }

    if (mNextLevel)
    {
        const Card::Times times{mLevelTime, progress.Best(level), Par(level), ghostTime, mLevelAssisted};
        mCard = Card::Level(finished + 1, times, earlierBest != 0 && mLevelTime < earlierBest,
                            progress.SaveFailure());
        OfferRace();
        return;
    }
    // The last level: the whole list (an empty line ends it, as it ends play).
    std::vector<Card::Times> levels;
    for (std::size_t i = 0; i < mMaps.size() && !mMaps[i].empty(); ++i)
    {
        levels.push_back({mRunTimes[i], progress.Best(mMaps[i]), Par(mMaps[i]), 0, mRunAssisted[i]});
    }
    mCard = Card::Run(levels, progress.SaveFailure());
    OfferRace();
    if (!mSilent && game->mStoryState != nullptr && game->mStoryState->HasEnding())
    {
        // The ship's end is told first; the table waits for it, and play fades out to it at once.
        mEndingCard = std::move(mCard);
        mFadeState = Fade::FadingOut;
    }
}

bool PlayState::HandleCardKey(bool repeat)
{
    // Repeats come from keys held through the door: only a new press skips.
    if (!repeat && mCard->Skip())
    {
        mFadeState = Fade::FadingOut;
    }
    return true;
}

bool PlayState::IsBound(Game* game, int code)
{
    return code == game->mKeyLeft || code == game->mKeyRight || code == game->mKeyJump ||
           code == game->mKeyFire;
}

bool PlayState::IsPauseKey(Game* game, int code) const
{
    // A key the player bound to a game action does that action instead.
    return !IsBound(game, code) && (code == SDL_SCANCODE_P || code == SDL_SCANCODE_PAUSE);
}

bool PlayState::CanPause() const
{
    // Also on the way to the next level: a game left alone during the card then starts its level paused.
    return mLevelReady && mPlayer->GetIsAlive() && !mQuitRequested && !mBackToMenu;
}

void PlayState::SetPaused(Game* game, bool paused)
{
    if (paused == IsPaused())
    {
        return;
    }
    if (paused)
    {
        mPauseCard = Card::Pause();
    }
    else
    {
        mPauseCard.reset();
        // The time that went by while paused is not made up in a burst of updates.
        if (game->mTimer)
        {
            game->mTimer->RestartStep();
        }
    }
    game->mAudioManager->SetPaused(paused);
}
