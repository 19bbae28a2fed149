// The cards of play: their text, how long they show, and a box over the dimmed picture.
#include "states/Card.h"

#include "graphics/Font.h"
#include "graphics/Image.h"
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

// A player told nothing would trust a best time that is gone at the next start.
void SayUnsaved(std::vector<std::string>& body, const std::string& unsaved)
{
    if (!unsaved.empty())
    {
        body.insert(body.end(), {"", "Progress could not be saved:", unsaved});
    }
}
} // namespace

Card::Card(std::string heading, std::vector<std::string> body, std::string footer, int updates)
    : mHeading(std::move(heading)), mBody(std::move(body)), mFooter(std::move(footer)), mUpdates(updates)
{
}

std::unique_ptr<Card> Card::Pause()
{
    return std::make_unique<Card>(
        "Paused",
        std::vector<std::string>{"P / Start    Resume", "Enter / A    Assist", "Esc / Back   Main menu"}, "",
        0);
}

std::unique_ptr<Card> Card::Level(int number, const Times& times, bool newBest, const std::string& unsaved)
{
    std::vector<std::string> body = {"Time   " + FormatTime(times.mTime) +
                                         (times.mAssisted ? "  assisted" : ""),
                                     "Best   " + FormatTime(times.mBest), "Par    " + FormatTime(times.mPar)};
    std::string footer = newBest && !times.mAssisted ? "New best time!" : "";
    if (times.mToBeat > 0 && times.mTime > 0)
    {
        // A race: the sender's time stands in for the ghost's.
        body.push_back("To beat " + FormatTime(times.mToBeat));
        body.push_back("Race   " + FormatDifference(times.mTime - times.mToBeat));
        if (times.mTime < times.mToBeat)
        {
            footer = "Race won!";
        }
    }
    else if (times.mGhost > 0 && times.mTime > 0)
    {
        body.push_back("Ghost  " + FormatDifference(times.mTime - times.mGhost));
    }
    SayUnsaved(body, unsaved);
    return std::make_unique<Card>("Level " + std::to_string(number) + " complete", std::move(body), footer,
                                  mLevelUpdates);
}

std::unique_ptr<Card> Card::RaceStart(const std::string& level, int toBeat, bool assisted, int updates)
{
    std::vector<std::string> body = {level, "", "Time to beat  " + FormatTime(toBeat)};
    if (assisted)
    {
        body.push_back("(made with an assist on)");
    }
    return std::make_unique<Card>("Race", std::move(body), "Press a key to start", updates);
}

std::unique_ptr<Card> Card::Run(const std::vector<Times>& levels, const std::string& unsaved)
{
    std::vector<std::string> body = {"Level  Time      Best      Par", ""};
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
    body.push_back("Total  " + Column(total.mTime, anyAssisted) + Column(total.mBest) +
                   FormatTime(total.mPar));
    const std::size_t totalLine = body.size() - 1;
    if (anyAssisted)
    {
        body.push_back("");
        body.push_back("* assisted");
    }
    SayUnsaved(body, unsaved);
    auto card = std::make_unique<Card>("All levels complete", std::move(body), "Press any key", mRunUpdates);
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
        bodyWidth = std::max(bodyWidth, line.size());
    }
    const std::vector<std::string> foot = FootLines();
    std::size_t widest = std::max(bodyWidth, mHeading.size());
    for (const std::string& line : foot)
    {
        widest = std::max(widest, line.size());
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

    // A black box inside a one-pixel light-grey border.
    const Uint32 grey = SDL_MapRGB(screen->format, 192, 192, 192);
    SDL_FillRect(screen, &box, grey);
    SDL_Rect inside = {box.x + 1, box.y + 1, box.w - 2, box.h - 2};
    SDL_FillRect(screen, &inside, SDL_MapRGB(screen->format, 0, 0, 0));

    const auto centred = [&](const std::string& text, int y) {
        font.DrawString(text, box.x + (width - static_cast<int>(text.size()) * charWidth) / 2, y, grey,
                        screen);
    };
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
