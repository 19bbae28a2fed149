// The desktop's side of what differs between the platforms: its own main loop, a real window and error box.
#include "platform/Platform.h"

#include "Game.h"

#include "io/Translation.h"

#include <SDL.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>

void Platform::Start()
{
    // A file-size limit then fails the write that passes it, which the game reports (a level not saved),
    // rather than stopping the program with the work in it.
    std::signal(SIGXFSZ, SIG_IGN);
}

int Platform::Play(std::unique_ptr<Game> game)
{
    game->Run();
    const int status = game->mExitStatus;
    game.reset(); // settings written, SDL shut down
    Ended();
    return status;
}

bool Platform::OpensFullscreen(bool wanted)
{
    return wanted;
}

bool Platform::IsFullscreen(SDL_Window* window)
{
    return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void Platform::SetFullscreen(SDL_Window* window, bool fullscreen)
{
    SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool Platform::DrawsEveryPass()
{
    return true;
}

bool Platform::HiddenMeansAway()
{
    return false;
}

bool Platform::HasResizableWindow()
{
    return true;
}

void Platform::ShowScaling(Scaling::Mode /*mode*/) {}

bool Platform::SavesSettingsOnChange()
{
    return false;
}

void Platform::ScreenshotWritten(const std::string& /*file*/) {}

void Platform::LevelLinkChanged(const std::string& /*link*/) {}

void Platform::LevelLinkRefused(const std::string& /*why*/) {}

std::string Platform::ShareRaceLink(const std::string& link)
{
    std::cout << link << std::endl;
    // Without a display (or a clipboard) the printed line is the link.
    // TRANSLATORS: above a race link on a card: at most 36 characters.
    return SDL_SetClipboardText(link.c_str()) == 0 ? Tr("Copied, and printed on stdout")
                                                   : Tr("Printed on standard output");
}

void Platform::EditorShown(bool /*shown*/) {}

bool Platform::AskText(const std::string& /*prompt*/, const std::string& /*text*/)
{
    return false;
}

void Platform::NotStarted(const std::string& reason)
{
    std::cerr << "Kestrovane: not started: " << reason << '\n';
}

void Platform::LinkRefused(const std::string& reason)
{
    std::cerr << "kestrovane: " << reason << std::endl;
}

void Platform::ShowError(const std::string& message)
{
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Kestrovane - Error", message.c_str(), nullptr) < 0)
    {
        // Without a display the box cannot open; the reason must still reach someone.
        std::cerr << "Kestrovane - Error: " << message << '\n';
    }
}

void Platform::Ended() {}

std::vector<std::string> Platform::LanguagePreferences()
{
    return Translation::EnvironmentPreferences([](const char* name) { return std::getenv(name); });
}
