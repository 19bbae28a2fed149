// The desktop and browser versions of what differs between them; the rest of the game is the same on both.
#include "Platform.h"

#include "Progress.h"
#include "WindowSettings.h"

#include <SDL.h>

#include <iostream>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#include <emscripten/html5.h>

#include <unistd.h>

// JavaScript inside C++ macros, kept as JavaScript is written.
// clang-format off
// The page (web/index.html) shows errors, the end of a run and downloads; these call its hooks.
EM_JS(void, CallPage, (const char* hook, const char* text), {
    const page = Module["kestrovane"];
    if (page && page[UTF8ToString(hook)])
        page[UTF8ToString(hook)](UTF8ToString(text));
});

// The player's folder lives in the browser's IndexedDB; the game waits until its files are loaded.
EM_ASYNC_JS(void, MountSaveFolder, (), {
    FS.mkdir("/save");
    FS.mount(IDBFS, {}, "/save");
    await new Promise(resolve => FS.syncfs(true, error => {
        if (error)
            console.warn("Kestrovane: the saved settings and progress could not be loaded", error);
        resolve();
    }));
});

// One store at a time; a change made during one is stored after it.
EM_JS(void, StoreSaveFolder, (), {
    if (Module.kesStoring) {
        Module.kesStoreAgain = true;
        return;
    }
    Module.kesStoring = true;
    const store = () => FS.syncfs(false, error => {
        if (error)
            console.warn("Kestrovane: the settings and progress could not be saved", error);
        Module.kesStoring = Module.kesStoreAgain;
        Module.kesStoreAgain = false;
        if (Module.kesStoring)
            store();
    });
    store();
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

void Platform::Start()
{
    // The software renderer draws on a 2D canvas, for about half the CPU of WebGL; the page may still pick
    // another one through SDL_RENDER_DRIVER.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    MountSaveFolder();
    // The game's folder holds the packaged data/; the player's files are links into the stored folder,
    // which the game follows when it writes.
    chdir("/game");
    for (const std::string name : {"kesv.cfg", Progress::mFileName, WindowSettings::mFileName})
    {
        symlink(("/save/" + name).c_str(), name.c_str());
    }
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

void Platform::PlayerFileWritten()
{
    StoreSaveFolder();
}

void Platform::ScreenshotWritten(const std::string& file)
{
    DownloadFile(file.c_str());
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

void Platform::LevelLinkChanged(const std::string& link)
{
    CallPage("link", link.c_str());
}

#else

void Platform::Start() {}

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

bool Platform::HasResizableWindow()
{
    return true;
}

void Platform::ShowScaling(Scaling::Mode /*mode*/) {}

bool Platform::SavesSettingsOnChange()
{
    return false;
}

void Platform::PlayerFileWritten() {}

void Platform::ScreenshotWritten(const std::string& /*file*/) {}

void Platform::LevelLinkChanged(const std::string& /*link*/) {}

void Platform::NotStarted(const std::string& reason)
{
    std::cerr << "Kestrovane: not started: " << reason << '\n';
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

#endif
