// A boxed text card over the dimmed play picture: the pause notice, a finished level's time against the
// best and the par, and after the last level every level's time with the total.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

class Font;
class Image;

class Card
{
  public:
    // Times in updates of one level, 0 where there is none.
    struct Times
    {
        int mTime = 0;
        int mBest = 0;
        int mPar = 0;
        int mGhost = 0;         // the ghost's time to the exit
        bool mAssisted = false; // the time was made with an assist on: it is marked, and no best
        int mToBeat = 0;        // a race's time to beat, 0 outside a race
    };

    // How long the cards after a level show, in updates: about two seconds, and longer for the whole run's
    // table, which has more to read.
    static constexpr int mLevelUpdates = 60;
    static constexpr int mRunUpdates = 300;
    // A key pressed in the first updates (on the way through the door) does not skip the card unseen.
    static constexpr int mGraceUpdates = 8;
    // How dark the play picture behind a card gets, 0..255.
    static constexpr int mDimAlpha = 160;

    // heading and footer are centred; the body lines stand left-aligned in a block. updates: how long the
    // card shows, 0 for as long as its owner keeps it.
    Card(std::string heading, std::vector<std::string> body, std::string footer, int updates);

    static std::unique_ptr<Card> Pause();
    // number: the level's place in the list, from 1; newBest: the time beat an earlier best. unsaved: why
    // the progress could not be saved, "" when it was.
    static std::unique_ptr<Card> Level(int number, const Times& times, bool newBest,
                                       const std::string& unsaved = "");
    // Before a race starts: the level and the time to beat, until a key is pressed or, with updates above
    // 0, for that long.
    static std::unique_ptr<Card> RaceStart(const std::string& level, int toBeat, bool assisted, int updates);
    // Every level of the list in order; levels not finished in this run have no time.
    static std::unique_ptr<Card> Run(const std::vector<Times>& levels, const std::string& unsaved = "");

    // Minutes, seconds and hundredths ("01:05.33"); "--:--.--" for no time (0 or less).
    static std::string FormatTime(int updates);
    // A signed difference in seconds and hundredths: "+1.23 s", "-0.40 s".
    static std::string FormatDifference(int updates);

    // One update; true once the card has shown for its time.
    bool Tick();
    // The card stays until a key skips it (something on it is worth the time to read or copy).
    void Keep() { mUpdates = 0; }
    // A key press; true when it skips the card (never in the first mGraceUpdates).
    bool Skip() const { return mShown >= mGraceUpdates; }
    // Dims the screen through the black overlay, then draws the box and the text in light grey.
    void Render(SDL_Surface* screen, Font& font, Image& overlay) const;
    // The body as drawn: when it cannot fit even with the lines closed up, its blank lines go, and then
    // its middle gives way to "...".
    std::vector<std::string> Fitted(int screenHeight, int charHeight) const;

    std::string mHeading;
    std::vector<std::string> mBody;
    std::string mFooter;
    // What a key does on this card, centred under the footer ("" for nothing).
    std::string mAction;
    // The last body lines (a total) kept in sight when a long body is cut to fit the screen.
    std::size_t mKeptEnd = 0;

  private:
    // The centred lines under the body: the footer and the action, those that are there.
    std::vector<std::string> FootLines() const;

    int mUpdates;
    int mShown = 0;
};
