// The command line: what each option asks for, what is refused, and the window mode of one run.
#include "CommandLine.h"
#include "Game.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Action = CommandLine::Action;
} // namespace

TEST(CommandLine, OptionsAskForHelpTheVersionAWindowModeOrALevel)
{
    const CommandLine none = CommandLine::Parse({});
    EXPECT_EQ(Action::Play, none.mAction);
    EXPECT_FALSE(none.mFullscreen.has_value());
    EXPECT_TRUE(none.mLevelFile.empty());

    const CommandLine level =
        CommandLine::Parse({"--fullscreen", "--level", "my level.map", "--windowed", "--replay", "--help"});
    EXPECT_EQ(Action::Play, level.mAction);
    EXPECT_EQ(false, level.mFullscreen) << "the later window mode wins";
    EXPECT_EQ("my level.map", level.mLevelFile);
    EXPECT_EQ("--help", level.mReplayFile) << "the word after --replay is its file, whatever it looks like";

    EXPECT_EQ("new.map", CommandLine::Parse({"--edit", "new.map"}).mEditFile);
    const CommandLine link = CommandLine::Parse({"--link", "#abc", "--replay", "r.replay"});
    EXPECT_EQ(Action::Play, link.mAction) << "a link's level may be watched from a recorded input";
    EXPECT_EQ("#abc", link.mLinkText);
    const CommandLine watch = CommandLine::Parse({"--link", "race.abc", "--replay"});
    EXPECT_EQ(Action::Play, watch.mAction) << "a bare --replay, last after a link, watches the race's run";
    EXPECT_TRUE(watch.mWatchLink);
    const CommandLine print = CommandLine::Parse({"--print-link", "--level", "a.map", "--replay", "r"});
    EXPECT_EQ(Action::Play, print.mAction);
    EXPECT_TRUE(print.mPrintLink);

    EXPECT_EQ(Action::Version, CommandLine::Parse({"--windowed", "--version"}).mAction);
    EXPECT_EQ(Action::Help, CommandLine::Parse({"--version", "-h"}).mAction);
    EXPECT_EQ(Action::Help, CommandLine::Parse({"--level", "x.map", "--help"}).mAction);
    EXPECT_EQ("Kestrovane " KES_VERSION, CommandLine::VersionLine());
}

TEST(CommandLine, AnythingNotUnderstoodIsRefusedWithTheReason)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--level"}, "--level needs a file"},
        {{"--level", "a.map", "--replay"}, "--replay needs a file"},
        {{"--replay", "a.replay"},
         "--replay needs --level or --link: a recorded input is played on one level"},
        {{"--level", "a.map", "--print-link"},
         "--print-link needs --level and --replay: it prints the race of that run on that level"},
        {{"--edit"}, "--edit needs a file"},
        {{"--link"}, "--link needs a level link"},
        {{"--level", "a.map", "--link", "x"},
         "--level plays a level file alone: give --link or --edit without it"},
        {{"--help", "--levels", "a.map"}, "unknown option --levels"},
        {{"--level=a.map"}, "unknown option --level=a.map"},
        {{"a.map"}, "unknown option a.map"},
        {{""}, "unknown option "},
    };
    for (const auto& [arguments, reason] : cases)
    {
        const CommandLine line = CommandLine::Parse(arguments);
        EXPECT_EQ(Action::Refuse, line.mAction) << reason;
        EXPECT_EQ(reason, line.mError);
    }
    // The usage names every option the game understands.
    for (const char* option : {"--windowed", "--fullscreen", "--level FILE", "--replay FILE", "--link TEXT",
                               "--edit FILE", "--print-link", "--version", "--help"})
    {
        EXPECT_NE(std::string::npos, CommandLine::Usage().find(option)) << option;
    }
}

TEST(CommandLine, TheWindowModeOfOneRunIsNotSavedUnlessThePlayerSwitchesOnTheOptionsScreen)
{
    test::TempDir folder;
    // Reads the file's mode, then takes the command line's as start-up does.
    const auto start = [](Game& game, const char* option)
    {
        std::vector<unsigned> replay;
        game.mCommandLine = CommandLine::Parse({option});
        return game.ReadConfig() && game.ApplyCommandLine(replay);
    };
    folder.WriteFile("kesv.cfg", "1 0 0\n");
    {
        Game game;
        ASSERT_TRUE(start(game, "--windowed"));
        EXPECT_FALSE(game.mFullscreen) << "the window opens as asked";
    }
    EXPECT_NE(std::string::npos, folder.ReadFile("kesv.cfg").find("Show FPS\n1 0 0\n"))
        << "the file keeps the player's fullscreen";

    folder.WriteFile("kesv.cfg", "0 0 0\n");
    Game game;
    ASSERT_TRUE(start(game, "--windowed"));
    game.mFullscreen = true; // switched on the Options screen
    EXPECT_TRUE(game.FullscreenToSave());
}
