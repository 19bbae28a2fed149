// The command line's part of start-up: the window mode for one run, and a level file played alone.
#include "Game.h"

#include "StateManager.h"
#include "io/InputScript.h"
#include "states/PlayState.h"

#include <exception>
#include <stdexcept>
#include <utility>

bool Game::ApplyCommandLine(std::vector<unsigned>& replay)
{
    if (mCommandLine.mFullscreen)
    {
        mFileFullscreen = mFullscreen;
        mFullscreen = *mCommandLine.mFullscreen;
    }
    if (mCommandLine.mReplayFile.empty())
    {
        return true;
    }
    try
    {
        replay = InputScript::Load(mCommandLine.mReplayFile);
        return true;
    }
    catch (const std::runtime_error& error)
    {
        PlayState::ReportLevelFailure(mCommandLine.mLevelFile, error.what());
        mExitStatus = 1;
        return false;
    }
}

bool Game::StartLevelFile(std::vector<unsigned> replay)
{
    mStateManager->ChangeState("Play");
    mPlayState->PlayOnly(mCommandLine.mLevelFile, std::move(replay));
    bool started = false;
    try
    {
        // Every false result has already said why on standard error.
        started = mPlayState->Init(this);
    }
    catch (const std::exception& error)
    {
        // A level maker's file is theirs to mend: told on standard error, not in the error box.
        PlayState::ReportLevelFailure(mCommandLine.mLevelFile, error.what());
    }
    if (!started)
    {
        mExitStatus = 1;
    }
    else if (!mCommandLine.mReplayFile.empty())
    {
        mExitStatus = 3; // until the input finishes the level
    }
    return started;
}

bool Game::FullscreenToSave() const
{
    // Switched on the Options screen during the run, the mode is the player's choice and is kept.
    if (mFileFullscreen && mCommandLine.mFullscreen == mFullscreen)
    {
        return *mFileFullscreen;
    }
    return mFullscreen;
}
