// The program's entry: answers the command line, runs the game and shows any escaping error in a message box.
#include "CommandLine.h"
#include "Game.h"

#include <SDL.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
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

    int status = 0;
    try
    {
        Game game;
        game.mCommandLine = options;
        if (game.Init())
        {
            game.Run();
        }
        status = game.mExitStatus;
    }
    catch (const std::exception& error)
    {
        // A run that ended on an error must not look like a finished game to a launcher or a script.
        status = 1;
        // The game is already destroyed here: settings written, SDL shut down.
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Kestrovane - Error", error.what(), nullptr) < 0)
        {
            // Without a display the box cannot open; the reason must still reach someone.
            std::fprintf(stderr, "Kestrovane - Error: %s\n", error.what());
        }
    }
    return status;
}
