// The command line's part of start-up: the window mode for one run, a level file or link played alone,
// the level editor.
#include "Game.h"

#include "StateManager.h"
#include "editor/EditorCatalogue.h"
#include "editor/EditorState.h"
#include "editor/LevelCheck.h"
#include "editor/LevelDocument.h"
#include "editor/LevelLink.h"
#include "editor/ScratchLevel.h"
#include "io/InputScript.h"
#include "platform/Platform.h"
#include "states/PlayState.h"

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
        LevelDocument level = LevelLink::Unpack(LinkText(mCommandLine.mLinkText));
        if (editing)
        {
            mLinkDocument = std::make_unique<LevelDocument>(std::move(level));
            return true;
        }
        EditorCatalogue catalogue;
        catalogue.Load("data/maps/");
        const std::vector<LevelCheck::Problem> problems = LevelCheck::Run(level, catalogue);
        if (!problems.empty())
        {
            std::string all;
            for (const LevelCheck::Problem& problem : problems)
            {
                all += (all.empty() ? "" : "; ") + problem.mText;
            }
            throw std::runtime_error("the level cannot be played: " + all);
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
