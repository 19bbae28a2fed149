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
        return refuse("--replay needs --level: a recorded input is played on one level");
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
           "  --replay FILE     with --level: watch the recorded input FILE play the level; the keys do not\n"
           "                    steer, Escape leaves; play ends as soon as the input does\n"
           "  --link TEXT       play the level of a level link (the link, or a file holding it)\n"
           "  --edit FILE       open the level editor on the level description FILE, new or existing (with\n"
           "                    --link: on the link's level, to be saved as FILE)\n"
           "  --version         print the version\n"
           "  -h, --help        print this help\n"
           "\n"
           "Exit status:\n"
           "  0  the game ended normally; with --replay, the input finished the level\n"
           "  1  the game could not start or failed (said on standard error or in an error box), or the\n"
           "     level or recorded input cannot be read\n"
           "  2  options that are not understood (this help follows on standard error)\n"
           "  3  with --replay, play ended without finishing the level: death, Escape, or the input\n"
           "     ending before the exit\n";
}

std::string CommandLine::VersionLine()
{
    return std::string("Kestrovane ") + KES_VERSION;
}
