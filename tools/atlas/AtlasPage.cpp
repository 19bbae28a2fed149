// Writing the level table and the picture gallery as Markdown.
#include "AtlasPage.h"

#include <cstdio>
#include <sstream>

namespace
{
// Everything above the table rows.
constexpr const char* kIntroduction = R"(# Levels

Every level of `data/maps/maps.lst` in the order it is played. `tools/atlas/kesatlas` writes this
page and the pictures from the built levels and their recorded inputs (`assets/maps/<name>.replay`):
do not edit them by hand but run `make atlas` after changing a level (`make test` fails while they
are stale).

Enemies and items are those in place at the start (a shot Blob1 comes back as a Blob2, then a Blob3).
Hazards count harmful tiles. Input is the length of the recorded input that finishes the level.
Lowest air is the lowest reading of the "Time left:" countdown along that input, the margin a
player following it has: a full tank reads 10 and lasts about 11 seconds.

| # | Level | Size | Enemies | Items | Hazards | Locks | Input | Lowest air |
|---|---|---|---|---|---|---|---|---|
)";

// "3 Blob1, 1 Blob2", or a dash when there is none.
std::string CountsText(const LevelSurvey::Counts& counts)
{
    std::string text;
    for (const auto& [name, count] : counts)
        text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + name;
    return text.empty() ? "-" : text;
}

std::string Fixed(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Updates at 30 per second as "9.2 s", or "2 min 05.3 s" from a minute on.
std::string Duration(std::size_t updates)
{
    const double seconds = updates / 30.0;
    if (seconds < 60.0)
        return Fixed(seconds, 1) + " s";
    const int minutes = static_cast<int>(seconds / 60.0);
    const double rest = seconds - minutes * 60.0;
    return std::to_string(minutes) + " min " + (rest < 10.0 ? "0" : "") + Fixed(rest, 1) + " s";
}
} // namespace

std::string AtlasPage::Text() const
{
    std::ostringstream page;
    page << kIntroduction;
    std::size_t total = 0;
    for (std::size_t i = 0; i < mLevels.size(); ++i)
    {
        const LevelSurvey& level = mLevels[i];
        total += level.mInputUpdates;
        page << "| " << i + 1 << " | [" << level.Stem() << "](levels/" << level.Stem() << ".png) | "
             << level.mColumns << " x " << level.mRows << " | " << CountsText(level.mEnemies) << " | "
             << CountsText(level.mItems) << " | " << CountsText(level.mHazards) << " | "
             << CountsText(level.mLocks) << " | ";
        if (level.mInputUpdates == 0)
            page << "none | - |\n";
        else if (!level.mFinished)
            page << Duration(level.mInputUpdates) << ", does not finish: " << level.mProblem << " | - |\n";
        else
            page << Duration(level.mInputUpdates) << " | " << Fixed(level.mLowestOxygen, 2) << " |\n";
    }
    page << "\n" << mLevels.size() << " levels; all recorded inputs together: " << Duration(total) << ".\n";
    for (const LevelSurvey& level : mLevels)
    {
        page << "\n## " << level.Stem() << "\n\n";
        if (!level.mDescription.empty())
            page << level.mDescription << "\n\n";
        page << "![" << level.Stem() << ", " << level.mColumns << " x " << level.mRows << " tiles](levels/"
             << level.Stem() << ".png)\n";
    }
    return page.str();
}
