// Races on the play screen: the card before one, and a finished run sent on as a race link.
#include "states/PlayState.h"

#include "editor/RaceLink.h"
#include "platform/Platform.h"
#include "states/Card.h"
#include "states/Race.h"

#include <algorithm>
#include <stdexcept>

namespace
{
// How much of the link a card line holds, and how many lines of it a card shows (a made level's link is
// longer: its start shows, the whole of it is on the clipboard and standard output).
constexpr std::size_t kLinkColumns = 36;
constexpr std::size_t kLinkLines = 12;
// The card before a watched race starts by itself after this long.
constexpr int kWatchedStartUpdates = 60;
} // namespace

void PlayState::RaceAgainst(std::unique_ptr<RaceLink> race, std::string levelName)
{
    mRace = std::move(race);
    mRaceName = std::move(levelName);
}

void PlayState::ShowRaceStart()
{
    mStartCard.reset();
    if (mRace && !mSilent)
    {
        // A player starts with a key; a watched run starts on its own.
        mStartCard = Card::RaceStart(mRaceName, mRace->mTime, mRace->Assisted(),
                                     mReplay.empty() ? 0 : kWatchedStartUpdates);
    }
}

void PlayState::KeepFinishedRun(int index)
{
    mFinishedLevel = LevelPath(index);
    mFinishedRun = mRecording;
    mFinishedRules = mRunRules;
    mRaceSent = false;
}

std::string PlayState::MakeRaceLink(Game* game) const
{
    if (mFinishedRun.empty())
    {
        throw std::runtime_error("no run has reached the exit");
    }
    return Race::Make(game, mFinishedLevel, mFinishedRun, mFinishedRules,
                      static_cast<int>(mFinishedRun.size()))
        .Pack();
}

void PlayState::SendRaceFromCard(Game* game)
{
    if (!mCard || mRaceSent || mFinishedRun.empty())
    {
        return;
    }
    mRaceSent = true;
    mCard->Keep(); // long enough to read or copy
    std::vector<std::string>& body = mCard->mBody;
    mCard->mAction = "Press any key";
    const std::size_t before = body.size();
    body.emplace_back("");
    const auto wrapped = [&body](const std::string& text)
    {
        for (std::size_t at = 0; at < text.size(); at += kLinkColumns)
        {
            if (at == kLinkColumns * (kLinkLines - 1) && text.size() > kLinkColumns * kLinkLines)
            {
                body.emplace_back("...");
                break;
            }
            body.push_back(text.substr(at, kLinkColumns));
        }
    };
    try
    {
        const std::string link = MakeRaceLink(game);
        body.push_back(Platform::ShareRaceLink(link) + ":");
        wrapped(link);
    }
    catch (const std::exception& error)
    {
        wrapped("No race link: " + std::string(error.what()));
    }
    // Whatever the card has to leave out, the link stays in sight.
    mCard->mKeptEnd = body.size() - before;
}

void PlayState::OfferRace()
{
    if (mCard && !mFinishedRun.empty())
    {
        mCard->mAction = "Fire: send this run as a race";
    }
}

void PlayState::KeepStrongestRules()
{
    // A run that switched assists on and off replays under the strongest it had.
    mRunRules.mSpeed = std::min(mRunRules.mSpeed, mRules.mSpeed);
    mRunRules.mAir = std::max(mRunRules.mAir, mRules.mAir);
    mRunRules.mInvulnerable = mRunRules.mInvulnerable || mRules.mInvulnerable;
}
