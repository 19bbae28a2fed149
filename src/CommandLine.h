// What the program was asked on its command line: help or the version, a window mode for this run, or a
// level file to play alone, watched from a recorded input when one is given.
#pragma once

#include <optional>
#include <string>
#include <vector>

class CommandLine
{
  public:
    enum class Action
    {
        Play,
        Help,
        Version,
        Refuse // mError says why; the usage follows it on standard error
    };

    // Reads the arguments after the program's name. A later --windowed or --fullscreen wins over an
    // earlier one, as does a later --level or --replay.
    static CommandLine Parse(const std::vector<std::string>& arguments);
    static std::string Usage();
    // "Kestrovane 0.1.4", the version the main menu and the package show.
    static std::string VersionLine();

    Action mAction = Action::Play;
    std::optional<bool> mFullscreen; // the window mode for this run only, when given
    std::string mLevelFile;          // empty: the level list from the main menu, as without options
    std::string mReplayFile;         // with mLevelFile or mLinkText
    bool mWatchLink = false;         // a last --replay after --link, without a file: watch the race's own run
    bool mPrintLink = false;         // check mReplayFile on mLevelFile and print its race link, no window
    std::string mEditFile;           // a level description to edit, new or existing
    std::string mLinkText;           // a level or race link to play, or a file holding one
    std::string mError;
};
