// The program's entry: runs the game and shows any escaping error.
#include "Game.h"
#include "Platform.h"

#include <exception>

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    Platform::Start();
    try
    {
        {
            Game game;
            if (!game.Init())
            {
                return 0;
            }
            game.Run();
        }
        Platform::Ended();
    }
    catch (const std::exception& error)
    {
        // The game is already destroyed here: settings written, SDL shut down.
        Platform::ShowError(error.what());
    }
    return 0;
}
