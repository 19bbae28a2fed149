// The assist screen: four options stepped with the arrow keys, kept in the player's file on each change.
#include "states/AssistState.h"

#include "Game.h"
#include "StateManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "io/Translation.h"

#include <algorithm>
#include <iterator>

namespace
{
enum Option
{
    Speed,
    Air,
    Invulnerable,
    GhostChoice,
    OptionCount
};

// TRANSLATORS: the values of the "Air: " row of the Assist screen.
const char* const kAirValues[] = {TrNoop("normal"), TrNoop("twice as long"), TrNoop("endless")};
// TRANSLATORS: the values of the "Ghost: " row of the Assist screen.
const char* const kGhostValues[] = {TrNoop("best"), TrNoop("par"), TrNoop("off")};

const int kOptionX = 92;
const int kArrowX = 84;
const int kFirstOptionY = 72;
const int kRowStep = 12;

// The next (step 1) or previous (step -1) of count values, wrapping round.
int Cycle(int value, int step, std::size_t count)
{
    const int values = static_cast<int>(count);
    return (value + step + values) % values;
}
} // namespace

bool AssistState::Init(Game* game)
{
    const SDL_RendererInfo info = game->mFramework->GetRendererInfo();
    mArrowImage = LoadPicture("data/gfx/arrow.png", info, true);
    CreateOverlay(game);
    LoadBackground(info);
    return true;
}

void AssistState::Open(Game* game, const std::string& returnTo)
{
    mReturnTo = returnTo;
    game->mStateManager->ChangeState("Assist");
}

void AssistState::HandleQuit(Game* game)
{
    game->mStateManager->ChangeState("Credits");
}

bool AssistState::HandleAction(Game* game, Action action, bool /*repeat*/)
{
    if (GoesBack(action))
    {
        mFadeState = Fade::FadingOut;
        return true;
    }
    if (mFadeState == Fade::FadingOut)
    {
        return false; // other actions wait in the queue
    }
    if (MoveCursor(game, action, mSelectedOption, OptionCount))
    {
        return true;
    }
    if (action == Action::Right || action == Action::Accept)
    {
        Change(game, 1);
    }
    else if (action == Action::Left)
    {
        Change(game, -1);
    }
    return true;
}

void AssistState::Change(Game* game, int step)
{
    Assist& assist = game->mAssist;
    switch (mSelectedOption)
    {
    case Speed:
    {
        // Right slows the game down, as the list reads: 100% first.
        const auto* first = std::begin(Assist::mSpeeds);
        const int count = static_cast<int>(std::size(Assist::mSpeeds));
        const int index =
            static_cast<int>(std::find(first, std::end(Assist::mSpeeds), assist.mSpeed) - first);
        assist.mSpeed = Assist::mSpeeds[Cycle(std::min(index, count - 1), step, count)];
        break;
    }
    case Air:
        assist.mAir =
            static_cast<Assist::Air>(Cycle(static_cast<int>(assist.mAir), step, std::size(kAirValues)));
        break;
    case Invulnerable:
        assist.mInvulnerable = !assist.mInvulnerable;
        break;
    default:
        assist.mGhost = static_cast<Assist::Ghost>(
            Cycle(static_cast<int>(assist.mGhost), step, std::size(Assist::mGhostNames)));
        break;
    }
    assist.Save();
}

void AssistState::Tick(Game* game)
{
    StepBlink();
    if (StepFade())
    {
        game->mStateManager->ChangeState(mReturnTo);
    }
}

std::string AssistState::OptionLine(const Game& game, int option) const
{
    const Assist& assist = game.mAssist;
    switch (option)
    {
    case Speed:
        // TRANSLATORS: an Assist row, from column 12 of 40: with its value it may take 28 characters.
        // %1 is the speed in percent (50 to 100).
        return Translation::Format(Tr("Game speed: %1%"), {std::to_string(assist.mSpeed)});
    case Air:
        return std::string(Tr("Air: ")) + Tr(kAirValues[static_cast<int>(assist.mAir)]);
    case Invulnerable:
        // TRANSLATORS: the values of the "Invulnerable: " row.
        return std::string(Tr("Invulnerable: ")) + (assist.mInvulnerable ? Tr("on") : Tr("off"));
    default:
        return std::string(Tr("Ghost: ")) + Tr(kGhostValues[static_cast<int>(assist.mGhost)]);
    }
}

void AssistState::DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey)
{
    const int fw = font.mCharWidth;
    // TRANSLATORS: the Assist screen's title, and its row on the Options screen.
    DrawCentred(font, Tr("Assist"), 32, grey, screen);
    if (mArrowVisible)
    {
        DrawShape(*mArrowImage, grey, kArrowX, kFirstOptionY + kRowStep * mSelectedOption, screen);
    }
    for (int option = 0; option < OptionCount; ++option)
    {
        font.DrawString(OptionLine(*game, option), kOptionX, kFirstOptionY + kRowStep * option, grey, screen);
    }
    // What an assist costs, and what the ghost is.
    const int notes = kFirstOptionY + kRowStep * OptionCount + 2 * fw;
    // TRANSLATORS: three centred lines of at most 39 characters each; the first two are one sentence.
    DrawCentred(font, Tr("With an assist on, level times are"), notes, grey, screen);
    DrawCentred(font, Tr("marked and never replace a best."), notes + fw + 2, grey, screen);
    DrawCentred(font, Tr("Par: the route the level ships with."), notes + 2 * (fw + 2) + fw, grey, screen);

    DrawCursorHints(game, font, grey, screen);
    const char* back =
        mReturnTo == "Play"
            ? ForDevice(game, TrNoop("Escape = Back to the game"), TrNoop("Back Button = Back to the game"),
                        TrNoop("Back = Back to the game"))
            : ForDevice(game, TrNoop("Escape = Back to the options"),
                        TrNoop("Back Button = Back to the options"), TrNoop("Back = Back to the options"));
    DrawCentred(font, Tr(back), screen->h - 20, grey, screen);
}
