// The command line's part of start-up: the window mode for one run, a level file or link played alone,
// the level editor.
#include "Game.h"

#include "StateManager.h"
#include "editor/EditorCatalogue.h"
#include "editor/EditorState.h"
#include "editor/LevelCheck.h"
#include "editor/LevelDocument.h"
#include "editor/LevelLink.h"
#include "editor/RaceLink.h"
#include "editor/ScratchLevel.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "io/InputScript.h"
#include "platform/Platform.h"
#include "states/PlayState.h"
#include "states/Race.h"

#include <SDL.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
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
        PlayState::ReportLevelFailure(PlayedLevelName(), error.what());
        mExitStatus = 1;
        return false;
    }
}

bool Game::StartLevelFile(std::vector<unsigned> replay)
{
    mStateManager->ChangeState("Play");
    if (mRaceLink)
    {
        // The race's run is replayed in a world of its own before anyone sees it.
        try
        {
            Race::Check(this, *mRaceLink, mCommandLine.mLevelFile);
        }
        catch (const std::exception& error)
        {
            Platform::LinkRefused(std::string("the link cannot be played: ") + error.what());
            mExitStatus = 1;
            return false;
        }
        if (mCommandLine.mWatchLink)
        {
            replay = mRaceLink->mRun;
        }
    }
    const bool watched = !replay.empty();
    mPlayState->PlayOnly(mCommandLine.mLevelFile, std::move(replay));
    if (mRaceLink)
    {
        const std::string name = Race::LevelName(*mRaceLink);
        mPlayState->RaceAgainst(std::move(mRaceLink), name);
    }
    bool started = false;
    try
    {
        // Every false result has already said why on standard error.
        started = mPlayState->Init(this);
    }
    catch (const std::exception& error)
    {
        // A level maker's file is theirs to mend: told on standard error, not in the error box.
        PlayState::ReportLevelFailure(PlayedLevelName(), error.what());
    }
    if (!started)
    {
        mExitStatus = 1;
    }
    else if (watched)
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

namespace
{
// The command line's link: the text itself, or a file holding it (read no further than a link can be long).
std::string LinkText(const std::string& argument)
{
    std::error_code error;
    if (argument.find('#') != std::string::npos || !std::filesystem::is_regular_file(argument, error))
    {
        return argument;
    }
    std::ifstream file(argument, std::ios::binary);
    std::string text(LevelLink::mMaxText + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}
} // namespace

bool Game::ReadLink()
{
    const bool editing = !mCommandLine.mEditFile.empty();
    try
    {
        const std::string text = LinkText(mCommandLine.mLinkText);
        mLinkLevelName = PlayedLevelName();
        if (RaceLink::IsRace(text))
        {
            auto race = std::make_unique<RaceLink>(RaceLink::Unpack(text));
            if (editing)
            {
                if (!race->mLevel)
                {
                    throw std::runtime_error("it races one of the game's own levels: open its file instead");
                }
                mLinkDocument = std::make_unique<LevelDocument>(*race->mLevel);
                return true;
            }
            // Its level found (or written) now; its run is replayed once there is a world to run it in.
            mLinkLevel = std::make_unique<ScratchLevel>();
            mCommandLine.mLevelFile = Race::Open(*race, *mLinkLevel);
            mRaceLink = std::move(race);
            mCommandLine.mLinkText.clear();
            return true;
        }
        if (mCommandLine.mWatchLink)
        {
            throw std::runtime_error("a level link carries no run to watch: give --replay a file");
        }
        LevelDocument level = LevelLink::Unpack(text);
        if (editing)
        {
            mLinkDocument = std::make_unique<LevelDocument>(std::move(level));
            return true;
        }
        const std::string problems = Race::PlayProblems(level);
        if (!problems.empty())
        {
            throw std::runtime_error("the level cannot be played: " + problems);
        }
        mLinkLevel = std::make_unique<ScratchLevel>();
        mCommandLine.mLevelFile = mLinkLevel->Write(level);
        mCommandLine.mLinkText.clear(); // from here on, a level file like any other
    }
    catch (const std::exception& error)
    {
        Platform::LinkRefused(
            std::string(editing ? "the level cannot be edited: " : "the link cannot be played: ") +
            error.what());
        mExitStatus = 1;
        return false;
    }
    return true;
}

std::string Game::PlayedLevelName() const
{
    if (!mLinkLevelName.empty())
    {
        return mLinkLevelName;
    }
    if (mCommandLine.mLinkText.empty())
    {
        return mCommandLine.mLevelFile;
    }
    // The scratch file's name would mean nothing to the player: the game's own level by its name.
    try
    {
        const std::string text = LinkText(mCommandLine.mLinkText);
        if (RaceLink::IsRace(text))
        {
            const RaceLink race = RaceLink::Unpack(text);
            if (!race.mLevel)
            {
                return race.mFile;
            }
        }
    }
    catch (const std::exception&)
    {
    }
    return "from the link";
}

int Game::PrintRaceLink()
{
    mWritesPlayerFiles = false;
    std::vector<unsigned> run;
    try
    {
        run = InputScript::Load(mCommandLine.mReplayFile);
    }
    catch (const std::runtime_error& error)
    {
        PlayState::ReportLevelFailure(mCommandLine.mLevelFile, error.what());
        return 1;
    }
    try
    {
        // No window is shown: the run is checked in a world on SDL's window-less driver.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        mFramework = std::make_unique<Framework>();
        mFramework->mResizable = false;
        mFramework->Init(false, false);
        mScreen = std::make_unique<Image>();
        mScreen->Load(mFramework->mSurface, 320, 240, false, Image::mKeyRed, Image::mKeyGreen,
                      Image::mKeyBlue);
    }
    catch (const std::exception& error)
    {
        std::cerr << "kestrovane: the run cannot be checked: " << error.what() << std::endl;
        return 1;
    }
    try
    {
        std::cout << Race::Make(this, mCommandLine.mLevelFile, std::move(run), Assist()).Pack() << std::endl;
        return 0;
    }
    catch (const Race::NotFinished& error)
    {
        PlayState::ReportLevelFailure(mCommandLine.mLevelFile, error.what());
        return 3;
    }
    catch (const std::exception& error)
    {
        PlayState::ReportLevelFailure(mCommandLine.mLevelFile, error.what());
        return 1;
    }
}

bool Game::StartEditor()
{
    mStateManager->ChangeState("Editor");
    try
    {
        if (mLinkDocument)
        {
            mEditorState->Open(mCommandLine.mEditFile, *mLinkDocument);
        }
        else
        {
            mEditorState->Open(mCommandLine.mEditFile);
        }
        return mEditorState->Init(this);
    }
    catch (const std::exception& error)
    {
        std::cerr << "kestrovane: the level cannot be edited: " << error.what() << std::endl;
        mExitStatus = 1;
        return false;
    }
}
