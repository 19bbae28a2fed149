// The ghost beside the player: which recording it plays, and keeping the best run's recording for it.
#include "states/PlayState.h"

#include "Game.h"
#include "editor/RaceLink.h"
#include "io/InputScript.h"
#include "io/PlayerFile.h"
#include "states/Ghost.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace
{
// "kesv.ghost.<set>.<level>": the level's name without its ending, with anything a file name should not
// hold replaced.
std::string GhostFile(const std::string& set, const std::string& level)
{
    return "kesv.ghost." + set + "." + PlayerFile::SafeName(std::filesystem::path(level).stem().string());
}
} // namespace

std::vector<unsigned> PlayState::ParInput(const std::string& levelFile)
{
    std::filesystem::path replay = levelFile;
    replay.replace_extension(".replay");
    try
    {
        return InputScript::Load(replay.string());
    }
    catch (const std::runtime_error&)
    {
        return {}; // missing or unreadable
    }
}

void PlayState::StartGhost(Game* game)
{
    mGhost.reset();
    mGhostChoice = game->mAssist.mGhost;
    std::vector<unsigned> input = GhostInput(game);
    if (input.empty())
    {
        return;
    }
    // A race's run keeps the assists it was made with.
    mGhost = Ghost::Start(game, LevelPath(mCurrentMap), std::move(input), mRace ? mRace->mRules : Assist());
    // A ghost chosen mid-level is where it would be had it started with the level.
    for (int update = 0; mGhost && update < mLevelTime; ++update)
    {
        mGhost->Tick(game);
    }
}

std::vector<unsigned> PlayState::GhostInput(Game* game) const
{
    // A race is run against the sender's run, whatever ghost the player chose.
    if (mRace)
    {
        return mRace->mRun;
    }
    const Assist::Ghost choice = game->mAssist.mGhost;
    if (choice == Assist::Ghost::Off)
    {
        return {};
    }
    // Best runs are kept for the game's own levels; a level file played alone has only its par.
    const std::string file =
        GhostFile(game->mProgress.SetKey(), mMaps[static_cast<std::size_t>(mCurrentMap)]);
    if (choice == Assist::Ghost::Best && mOnlyLevel.empty() && PlayerFile::Exists(file))
    {
        try
        {
            return InputScript::Load(PlayerFile::Target(file).string());
        }
        catch (const std::runtime_error& error)
        {
            std::cerr << "Kestrovane: ghost file not used: " << error.what() << std::endl;
            return {};
        }
    }
    return ParInput(LevelPath(mCurrentMap));
}

void PlayState::KeepBestRun(Game* game, int index)
{
    const std::string& level = mMaps[static_cast<std::size_t>(index)];
    // Kept only when it replays to the same time: a recording that went astray would race nobody.
    const std::unique_ptr<Ghost> check = Ghost::Start(game, LevelPath(index), mRecording);
    if (!check || check->RunToEnd(game) != mLevelTime)
    {
        std::cerr << "Kestrovane: the best run of " << level << " is not kept as a ghost: its recording "
                  << "does not replay" << std::endl;
        return;
    }
    const std::string text = "// Kestrovane ghost: the best run of " + level + ", " +
                             std::to_string(mLevelTime) + " updates\n" + InputScript::Format(mRecording) +
                             "\n";
    PlayerFile::Write(GhostFile(game->mProgress.SetKey(), level), text);
}
