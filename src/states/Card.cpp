// The cards of play: their text, how long they show, and a box over the dimmed picture.
#include "states/Card.h"

#include "graphics/Font.h"
#include "graphics/Image.h"
#include "io/Translation.h"
#include "states/Fade.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{
constexpr int kPadding = 12;    // between the box's border and its text, pixels
constexpr int kLineSpacing = 2; // between lines of text, pixels
constexpr int kUpdatesPerSecond = 30;

// A time for a table column, or the dashes of none; a star marks an assisted one.
std::string Column(int updates, bool assisted = false)
{
    return Card::FormatTime(updates) + (assisted ? "* " : "  ");
}

// A label of the level card, padded to seven columns (or one space more) so the times after it stand in one
// column; a translation's labels, which run longer, are all padded to the longest.
std::string Label(const char* english)
{
    static const char* const labels[] = {TrNoop("Time"),  TrNoop("Best"),    TrNoop("Par"),
                                         TrNoop("Ghost"), TrNoop("To beat"), TrNoop("Race")};
    const std::string text = Tr(english);
    std::size_t width = std::max<std::size_t>(7, Font::Length(text) + 1);
    for (const char* label : labels)
    {
        width = Translation::Current().empty() ? width : std::max(width, Font::Length(Tr(label)) + 1);
    }
    return text + std::string(width - Font::Length(text), ' ');
}

// A player told nothing would trust a best time that is gone at the next start.
void SayUnsaved(std::vector<std::string>& body, const std::string& unsaved)
{
    if (!unsaved.empty())
    {
        // TRANSLATORS: on a card, above the system's reason; at most 36 characters.
        body.insert(body.end(), {"", Tr("Progress could not be saved:"), unsaved});
    }
}
} // namespace

Card::Card(std::string heading, std::vector<std::string> body, std::string footer, int updates)
    : mHeading(std::move(heading)), mBody(std::move(body)), mFooter(std::move(footer)), mUpdates(updates)
{
}

std::unique_ptr<Card> Card::Pause()
{
    // TRANSLATORS: the pause card: keep the keys' names and the column where the actions start.
    return std::make_unique<Card>(Tr("Paused"),
                                  std::vector<std::string>{Tr("P / Start    Resume"),
                                                           Tr("Enter / A    Assist"),
                                                           Tr("Esc / Back   Main menu")},
                                  "", 0);
}

std::unique_ptr<Card> Card::Level(int number, const Times& times, bool newBest, const std::string& unsaved)
{
    // TRANSLATORS: the level card's rows: a label of at most 8 characters, then a time such as 01:05.33.
    std::vector<std::string> body = {
        Label("Time") + FormatTime(times.mTime) + (times.mAssisted ? std::string("  ") + Tr("assisted") : ""),
        Label("Best") + FormatTime(times.mBest), Label("Par") + FormatTime(times.mPar)};
    std::string footer = newBest && !times.mAssisted ? Tr("New best time!") : "";
    if (times.mToBeat > 0 && times.mTime > 0)
    {
        // A race: the sender's time stands in for the ghost's.
        body.push_back(Label("To beat") + FormatTime(times.mToBeat));
        body.push_back(Label("Race") + FormatDifference(times.mTime - times.mToBeat));
        if (times.mTime < times.mToBeat)
        {
            footer = Tr("Race won!");
        }
    }
    else if (times.mGhost > 0 && times.mTime > 0)
    {
        body.push_back(Label("Ghost") + FormatDifference(times.mTime - times.mGhost));
    }
    SayUnsaved(body, unsaved);
    // TRANSLATORS: a card's heading, at most 36 characters; %1 is the level's number.
    return std::make_unique<Card>(Translation::Format(Tr("Level %1 complete"), {std::to_string(number)}),
                                  std::move(body), footer, mLevelUpdates);
}

std::unique_ptr<Card> Card::RaceStart(const std::string& level, int toBeat, bool assisted, int updates)
{
    // TRANSLATORS: the card before a race: the level's name, then the time to beat (such as 01:05.33); each
    // line at most 36 characters.
    std::vector<std::string> body = {level, "",
                                     Translation::Format(Tr("Time to beat  %1"), {FormatTime(toBeat)})};
    if (assisted)
    {
        body.push_back(Tr("(made with an assist on)"));
    }
    return std::make_unique<Card>(Tr("Race"), std::move(body), Tr("Press a key to start"), updates);
}

std::unique_ptr<Card> Card::Run(const std::vector<Times>& levels, const std::string& unsaved)
{
    // TRANSLATORS: the run table's head: each word starts its column (columns 1, 8, 18 and 28), so the first
    // word takes at most 6 characters and the others at most 9.
    std::vector<std::string> body = {Tr("Level  Time      Best      Par"), ""};
    // A column's total counts only when every level has a time in it: part of a run is no run.
    Times total;
    bool anyAssisted = false;
    const auto add = [](int& sum, int time) { sum = sum < 0 || time <= 0 ? -1 : sum + time; };
    for (std::size_t i = 0; i < levels.size(); ++i)
    {
        char number[8];
        std::snprintf(number, sizeof number, "%5d  ", static_cast<int>(i + 1));
        const Times& level = levels[i];
        body.push_back(number + Column(level.mTime, level.mAssisted) + Column(level.mBest) +
                       FormatTime(level.mPar));
        anyAssisted = anyAssisted || level.mAssisted;
        add(total.mTime, level.mTime);
        add(total.mBest, level.mBest);
        add(total.mPar, level.mPar);
    }
    body.push_back("");
    // TRANSLATORS: the run table's last row, at most 6 characters.
    const std::string totalLabel = Tr("Total");
    body.push_back(totalLabel +
                   std::string(Font::Length(totalLabel) < 7 ? 7 - Font::Length(totalLabel) : 1, ' ') +
                   Column(total.mTime, anyAssisted) + Column(total.mBest) + FormatTime(total.mPar));
    const std::size_t totalLine = body.size() - 1;
    if (anyAssisted)
    {
        body.push_back("");
        // TRANSLATORS: the footnote of the run table's star.
        body.push_back(std::string("* ") + Tr("assisted"));
    }
    SayUnsaved(body, unsaved);
    auto card =
        std::make_unique<Card>(Tr("All levels complete"), std::move(body), Tr("Press any key"), mRunUpdates);
    card->mKeptEnd = card->mBody.size() - totalLine;
    return card;
}

std::string Card::FormatTime(int updates)
{
    if (updates <= 0)
    {
        return "--:--.--";
    }
    // Hundredths are exact for whole seconds and truncated in between, as a stopwatch shows them.
    const long long hundredths = static_cast<long long>(updates) * 100 / kUpdatesPerSecond;
    const long long minutes = std::min(hundredths / 6000, 99LL);
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld.%02lld", minutes, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

std::string Card::FormatDifference(int updates)
{
    // Hundredths truncated toward zero, as the times themselves are.
    const long long magnitude = std::llabs(static_cast<long long>(updates)) * 100 / kUpdatesPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%c%lld.%02lld s", updates < 0 ? '-' : '+', magnitude / 100,
                  magnitude % 100);
    return text;
}

bool Card::Tick()
{
    ++mShown;
    return mUpdates > 0 && mShown >= mUpdates;
}

std::vector<std::string> Card::FootLines() const
{
    std::vector<std::string> lines;
    for (const std::string* line : {&mFooter, &mAction})
    {
        if (!line->empty())
        {
            lines.push_back(*line);
        }
    }
    return lines;
}

std::vector<std::string> Card::Fitted(int screenHeight, int charHeight) const
{
    // Body lines that fit with the lines closed up, besides the heading, the footer and their gaps.
    const std::size_t foot = FootLines().size();
    const int room =
        (screenHeight - 2 * kPadding) / charHeight - 2 - (foot == 0 ? 0 : 1 + static_cast<int>(foot));
    if (static_cast<int>(mBody.size()) <= room)
    {
        return mBody;
    }
    // The blank lines give way first, so that a whole run's table stays in sight where it can.
    std::vector<std::string> closed;
    std::size_t keptEnd = 0;
    for (std::size_t i = 0; i < mBody.size(); ++i)
    {
        if (mBody[i].empty())
        {
            continue;
        }
        closed.push_back(mBody[i]);
        keptEnd += i + mKeptEnd >= mBody.size() ? 1 : 0;
    }
    const int head = room - 1 - static_cast<int>(keptEnd);
    if (static_cast<int>(closed.size()) <= room || head < 1)
    {
        return closed;
    }
    // Then the first lines, "...", and the end kept in sight.
    std::vector<std::string> body(closed.begin(), closed.begin() + head);
    body.emplace_back("  ...");
    body.insert(body.end(), closed.end() - static_cast<std::ptrdiff_t>(keptEnd), closed.end());
    return body;
}

void Card::Render(SDL_Surface* screen, Font& font, Image& overlay) const
{
    Fade::DrawOverlay(overlay, mDimAlpha, screen);

    const int charWidth = font.mCharWidth;
    const std::vector<std::string> body = Fitted(screen->h, font.mCharHeight);
    std::size_t bodyWidth = 0;
    for (const std::string& line : body)
    {
        bodyWidth = std::max(bodyWidth, Font::Length(line));
    }
    const std::vector<std::string> foot = FootLines();
    std::size_t widest = std::max(bodyWidth, Font::Length(mHeading));
    for (const std::string& line : foot)
    {
        widest = std::max(widest, Font::Length(line));
    }
    // Heading, a blank line, the body, and the footer lines after another blank line.
    const int lines =
        2 + static_cast<int>(body.size()) + (foot.empty() ? 0 : 1 + static_cast<int>(foot.size()));
    const int width = static_cast<int>(widest) * charWidth + 2 * kPadding;
    // A long level list (a mod's) closes the lines up to fit.
    const int spacing =
        lines * (font.mCharHeight + kLineSpacing) + 2 * kPadding > screen->h ? 0 : kLineSpacing;
    const int lineHeight = font.mCharHeight + spacing;
    const int height = lines * lineHeight - spacing + 2 * kPadding;
    SDL_Rect box = {(screen->w - width) / 2, (screen->h - height) / 2, width, height};
    font.NoteBox(box);

    // A black box inside a one-pixel light-grey border.
    const Uint32 grey = SDL_MapRGB(screen->format, 192, 192, 192);
    SDL_FillRect(screen, &box, grey);
    SDL_Rect inside = {box.x + 1, box.y + 1, box.w - 2, box.h - 2};
    SDL_FillRect(screen, &inside, SDL_MapRGB(screen->format, 0, 0, 0));

    const auto centred = [&](const std::string& text, int y)
    { font.DrawString(text, box.x + (width - font.TextWidth(text)) / 2, y, grey, screen); };
    int y = box.y + kPadding;
    centred(mHeading, y);
    y += 2 * lineHeight;
    const int bodyX = box.x + (width - static_cast<int>(bodyWidth) * charWidth) / 2;
    for (const std::string& line : body)
    {
        font.DrawString(line, bodyX, y, grey, screen);
        y += lineHeight;
    }
    y += lineHeight;
    for (const std::string& line : foot)
    {
        centred(line, y);
        y += lineHeight;
    }
}
