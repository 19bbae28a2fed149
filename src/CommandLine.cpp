// Reading the command line: the options a player or a level maker may give, and the usage text.
#include "CommandLine.h"

CommandLine CommandLine::Parse(const std::vector<std::string>& arguments)
{
    CommandLine line;
    bool help = false;
    bool version = false;
    const auto refuse = [&line](const std::string& why)
    {
        line.mAction = Action::Refuse;
        line.mError = why;
        return line;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h")
        {
            help = true;
        }
        else if (argument == "--version")
        {
            version = true;
        }
        else if (argument == "--print-link")
        {
            line.mPrintLink = true;
        }
        else if (argument == "--replay" && i + 1 == arguments.size() && !line.mLinkText.empty())
        {
            // Last, after a link: the run the race link carries.
            line.mWatchLink = true;
            line.mReplayFile.clear();
        }
        else if (argument == "--windowed" || argument == "--fullscreen")
        {
            line.mFullscreen = argument == "--fullscreen";
        }
        else if (argument == "--level" || argument == "--replay" || argument == "--edit")
        {
            if (i + 1 == arguments.size())
            {
                return refuse(argument + " needs a file");
            }
            (argument == "--level"  ? line.mLevelFile
             : argument == "--edit" ? line.mEditFile
                                    : line.mReplayFile) = arguments[++i];
            line.mWatchLink = line.mWatchLink && argument != "--replay";
        }
        else if (argument == "--link")
        {
            if (i + 1 == arguments.size())
            {
                return refuse("--link needs a level link");
            }
            line.mLinkText = arguments[++i];
        }
        else
        {
            return refuse("unknown option " + argument);
        }
    }
    if (!line.mReplayFile.empty() && line.mLevelFile.empty() && line.mLinkText.empty())
    {
        return refuse("--replay needs --level or --link: a recorded input is played on one level");
    }
    if (line.mPrintLink && (line.mLevelFile.empty() || line.mReplayFile.empty()))
    {
        return refuse(
            "--print-link needs --level and --replay: it prints the race of that run on that level");
    }
    // A link and --edit together edit the link's level.
    if (!line.mLevelFile.empty() && (!line.mEditFile.empty() || !line.mLinkText.empty()))
    {
        return refuse("--level plays a level file alone: give --link or --edit without it");
    }
    line.mAction = help ? Action::Help : version ? Action::Version : Action::Play;
    return line;
}

std::string CommandLine::Usage()
{
    return "Usage: kestrovane [OPTION]...\n"
           "Without options the game starts on its main menu.\n"
           "\n"
           "  --windowed        play in a window this time; the settings keep their own choice\n"
           "  --fullscreen      play in fullscreen this time; the settings keep their own choice\n"
           "  --level FILE      play the level description FILE alone (its layer pictures and placement\n"
           "                    file beside it), with the game's tiles and sprites; the game ends with it\n"
           "  --replay FILE     with --level or --link: watch the recorded input FILE play the level; the "
           "keys\n"
           "                    do not steer, Escape leaves; play ends as soon as the input does\n"
           "  --link TEXT       play the level of a level link, or race the run of a race link (the link, "
           "or\n"
           "                    a file holding it)\n"
           "  --replay          last, after --link with a race link: watch the race's own run\n"
           "  --print-link      with --level and --replay: check that the input finishes the level, without "
           "a\n"
           "                    window, and print its race link on standard output\n"
           "  --edit FILE       open the level editor on the level description FILE, new or existing (with\n"
           "                    --link: on the link's level, to be saved as FILE)\n"
           "  --version         print the version\n"
           "  -h, --help        print this help\n"
           "\n"
           "Exit status:\n"
           "  0  the game ended normally; with --replay, the input finished the level\n"
           "  1  the game could not start or failed (said on standard error or in an error box), or the\n"
           "     level, link or recorded input cannot be read or played\n"
           "  2  options that are not understood (this help follows on standard error)\n"
           "  3  with --replay, play ended without finishing the level: death, Escape, or the input\n"
           "     ending before the exit; with --print-link, the input does not finish the level\n";
}

std::string CommandLine::VersionLine()
{
    return std::string("Kestrovane ") + KES_VERSION;
}
