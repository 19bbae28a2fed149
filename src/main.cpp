// The program's entry: answers the command line, runs the game and shows any escaping error.
#include "CommandLine.h"
#include "Game.h"
#include "platform/Platform.h"

#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char* argv[])
{
    // A program may be started with no arguments at all, not even its own name.
    const std::vector<std::string> arguments(argc > 1 ? argv + 1 : argv, argc > 1 ? argv + argc : argv);
    const CommandLine options = CommandLine::Parse(arguments);
    switch (options.mAction)
    {
    case CommandLine::Action::Help:
        std::cout << CommandLine::Usage();
        return 0;
    case CommandLine::Action::Version:
        std::cout << CommandLine::VersionLine() << '\n';
        return 0;
    case CommandLine::Action::Refuse:
        std::cerr << "kestrovane: " << options.mError << "\n\n" << CommandLine::Usage();
        return 2;
    case CommandLine::Action::Play:
        break;
    }
    if (options.mPrintLink)
    {
        // A check for scripts: no window, no player files, the link on standard output.
        Game game;
        game.mCommandLine = options;
        return game.PrintRaceLink();
    }

    Platform::Start();
    std::unique_ptr<Game> game;
    try
    {
        game = std::make_unique<Game>();
        game->mCommandLine = options;
        if (!game->Init())
        {
            return game->mExitStatus; // the game is destroyed on the way out: settings written
        }
        // An error escaping the run unwinds through Play, whose game goes with it before the error shows.
        return Platform::Play(std::move(game));
    }
    catch (const std::exception& error)
    {
        // A run that ended on an error must not look like a finished game to a launcher or a script.
        game.reset();
        Platform::ShowError(error.what());
        return 1;
    }
}
