// The browser's side of what differs between the platforms: the page calls each pass, the player's files
// live in the site's storage, and errors, downloads and the end of a run reach the page.
#include "platform/Platform.h"

#include "Game.h"
#include "io/PlayerFile.h"

#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

namespace
{
// The folder the page loaded the player's stored files into before the game started (web/storage.js).
constexpr const char* kStoredFolder = "/save";

// The browser calls the passes after main has returned, so the game outlives it.
std::unique_ptr<Game> gGame;
} // namespace

// JavaScript inside C++ macros, kept as JavaScript is written.
// clang-format off
// The page (web/index.html) shows errors, the end of a run and downloads; these call its hooks.
EM_JS(void, CallPage, (const char* hook, const char* text), {
    const page = Module["kestrovane"];
    if (page && page[UTF8ToString(hook)])
        page[UTF8ToString(hook)](UTF8ToString(text));
});

// Opens the page's text field; 0 when the page has none.
EM_JS(int, AskPage, (const char* prompt, const char* text), {
    const page = Module["kestrovane"];
    if (!page || !page.askText)
        return 0;
    page.askText(UTF8ToString(prompt), UTF8ToString(text));
    return 1;
});

// Whether the stored folder was loaded and this tab may store into it (web/storage.js).
EM_JS(int, StorageReady, (), {
    return Module.kesStorage && Module.kesStorage.ready ? 1 : 0;
});

EM_JS(void, StoreFile, (const char* path), {
    Module.kesStorage.store(UTF8ToString(path));
});

// The game has ended: the tab stores nothing more, and another tab may play.
EM_JS(void, ReleaseStorage, (), {
    if (Module.kesStorage)
        Module.kesStorage.release();
});

// The file leaves the in-memory file system as a download of the same name.
EM_JS(void, DownloadFile, (const char* file), {
    const name = UTF8ToString(file);
    const blob = new Blob([FS.readFile(name)], {type : "image/png"});
    FS.unlink(name);
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
});
EM_JS(int, PageIsFullscreen, (), {
    return document.fullscreenElement ? 1 : 0;
});
// The page lays out its canvas by the canvas's data-scaling attribute.
EM_JS(void, SetPageScaling, (const char* name), {
    Module["canvas"].dataset.scaling = UTF8ToString(name).toLowerCase();
    const page = Module["kestrovane"];
    if (page && page["layout"])
        page["layout"]();
});
// clang-format on

namespace
{
// The game is destroyed (settings written, SDL shut down) before the page hears how it ended.
void EndGame(const char* error)
{
    emscripten_cancel_main_loop();
    gGame.reset();
    ReleaseStorage();
    if (error != nullptr)
    {
        Platform::ShowError(error);
    }
    else
    {
        Platform::Ended();
    }
}

void CallPass()
{
    try
    {
        gGame->Pass();
    }
    catch (const std::exception& error)
    {
        EndGame(error.what());
        return;
    }
    if (!gGame->mIsRunning)
    {
        EndGame(nullptr);
    }
}
} // namespace

void Platform::Start()
{
    // The software renderer draws on a 2D canvas, for about half the CPU of WebGL; the page may still pick
    // another one through SDL_RENDER_DRIVER.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // The game's folder holds the packaged data/. Without storage the player's files stay there, in memory,
    // for this visit only; with it, each is a link into the stored folder and every write is stored.
    std::filesystem::current_path("/game");
    if (StorageReady() == 0)
    {
        return;
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kStoredFolder, error))
    {
        std::filesystem::create_symlink(entry.path(), entry.path().filename(), error);
    }
    PlayerFile::KeepIn(kStoredFolder, [](const std::string& path) { StoreFile(path.c_str()); });
}

int Platform::Play(std::unique_ptr<Game> game)
{
    // One pass per display frame (requestAnimationFrame); the browser stops calling in a hidden tab.
    gGame = std::move(game);
    emscripten_set_main_loop(CallPass, 0, 0);
    return 0;
}

bool Platform::OpensFullscreen(bool /*wanted*/)
{
    return false;
}

// SDL's own fullscreen resizes the canvas to the screen and takes the wrong size back from the page
// afterwards; the page's picture is enlarged by the browser instead (web/index.html).
bool Platform::IsFullscreen(SDL_Window* /*window*/)
{
    return PageIsFullscreen() != 0;
}

void Platform::SetFullscreen(SDL_Window* /*window*/, bool fullscreen)
{
    if (fullscreen)
    {
        emscripten_request_fullscreen("#screen", 1);
    }
    else
    {
        emscripten_exit_fullscreen();
    }
}

// The software renderer's 2D canvas keeps its last picture; a WebGL canvas is cleared once shown.
bool Platform::DrawsEveryPass()
{
    const char* driver = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    return driver == nullptr || std::strcmp(driver, "software") != 0;
}

bool Platform::HiddenMeansAway()
{
    return true;
}

bool Platform::HasResizableWindow()
{
    return false;
}

void Platform::ShowScaling(Scaling::Mode mode)
{
    SetPageScaling(Scaling::Name(mode));
}

bool Platform::SavesSettingsOnChange()
{
    return true;
}

void Platform::ScreenshotWritten(const std::string& file)
{
    DownloadFile(file.c_str());
}

void Platform::LevelLinkChanged(const std::string& link)
{
    CallPage("link", link.c_str());
}

void Platform::EditorShown(bool shown)
{
    CallPage("editing", shown ? "1" : "");
}

bool Platform::AskText(const std::string& prompt, const std::string& text)
{
    return AskPage(prompt.c_str(), text.c_str()) != 0;
}

void Platform::NotStarted(const std::string& reason)
{
    std::cerr << "Kestrovane: not started: " << reason << '\n';
    CallPage("error", ("The game could not start: " + reason + ".").c_str());
}

void Platform::ShowError(const std::string& message)
{
    std::cerr << "Kestrovane - Error: " << message << '\n';
    CallPage("error", message.c_str());
}

void Platform::Ended()
{
    CallPage("ended", "");
}
