// The program's entry: runs the game and shows any escaping error in a message box.
#include "Game.h"

#include <SDL.h>

#include <cstdio>
#include <exception>

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    try
    {
        Game game;
        if (game.Init())
        {
            game.Run();
        }
    }
    catch (const std::exception& error)
    {
        // The game is already destroyed here: settings written, SDL shut down.
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Kestrovane - Error", error.what(), nullptr) < 0)
        {
            // Without a display the box cannot open; the reason must still reach someone.
            std::fprintf(stderr, "Kestrovane - Error: %s\n", error.what());
        }
    }
    return 0;
}
