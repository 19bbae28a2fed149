// The browser's side of what differs between the platforms: the page calls each pass, the player's files
// live in the site's storage, and errors, downloads and the end of a run reach the page.
#include "platform/Platform.h"

#include "Game.h"
#include "StateManager.h"
#include "editor/EditorState.h"
#include "editor/LevelDocument.h"
#include "editor/LevelLink.h"
#include "io/PlayerFile.h"
#include "io/Translation.h"

#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>
#include <vector>

namespace
{
// The folder the page loaded the player's stored files into before the game started (web/storage.js).
constexpr const char* kStoredFolder = "/save";
// The levels the editor keeps, in the game's folder and the stored one.
constexpr const char* kLevelsFolder = "levels";

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

// The browser's languages, most wanted first, joined by colons.
EM_JS(char*, PageLanguages, (), {
    const list = (navigator.languages && navigator.languages.length) ? navigator.languages : [navigator.language || ""];
    return stringToNewUTF8(list.join(":"));
});

// Opens the page's text field; 0 when the page has none.
EM_JS(int, AskPage, (const char* prompt, const char* text), {
    const page = Module["kestrovane"];
    if (!page || !page.askText)
        return 0;
    page.askText(UTF8ToString(prompt), UTF8ToString(text));
    return 1;
});

// Whether the stored folder was loaded, and whether this tab may store into it (web/storage.js).
EM_JS(int, StorageLoaded, (), {
    return Module.kesStorage && Module.kesStorage.loaded ? 1 : 0;
});
EM_JS(int, StorageReady, (), {
    return Module.kesStorage && Module.kesStorage.ready ? 1 : 0;
});

EM_JS(void, StoreFile, (const char* path), {
    Module.kesStorage.store(UTF8ToString(path));
});

EM_JS(void, UnstoreFile, (const char* path), {
    Module.kesStorage.unstore(UTF8ToString(path));
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

namespace
{
// The game's folder and the player's files, once, for main or for the page's "My levels" before it.
void FindFiles()
{
    static bool found = false;
    if (found)
    {
        return;
    }
    found = true;
    // The game's folder holds the packaged data/. Without storage the player's files stay there, in memory,
    // for this visit only; with it, each is a link into the stored folder and every write is stored. The
    // levels the editor keeps are in its folder levels/, linked the same way. A tab that may only read
    // (opened from a level link) plays with the stored files, its writes kept in memory.
    std::filesystem::current_path("/game");
    std::error_code error;
    if (StorageLoaded() == 0)
    {
        std::filesystem::create_directory(kLevelsFolder, error);
        return;
    }
    std::filesystem::create_directory(std::filesystem::path(kStoredFolder) / kLevelsFolder, error);
    for (const auto& entry : std::filesystem::directory_iterator(kStoredFolder, error))
    {
        std::filesystem::create_symlink(entry.path(), entry.path().filename(), error);
    }
    if (StorageReady() != 0)
    {
        PlayerFile::KeepIn(
            kStoredFolder, [](const std::string& path) { StoreFile(path.c_str()); },
            [](const std::string& path) { UnstoreFile(path.c_str()); });
    }
}

// A kept level's description file, from the name the page gives it.
std::string LevelFile(const char* name)
{
    return std::string(kLevelsFolder) + "/" + PlayerFile::SafeName(name) + ".map";
}

// What the page's calls give back, kept until the next call.
const char* Answer(std::string text)
{
    static std::string answer;
    answer = std::move(text);
    return answer.c_str();
}
} // namespace

// The page's "My levels" (web/index.html), before the game starts. Each gives back an empty text or the
// reason it failed, which starts with "!" where the answer is otherwise a link.
extern "C"
{
    // The link of a kept level.
    EMSCRIPTEN_KEEPALIVE const char* kes_level_link(const char* name)
    {
        FindFiles();
        try
        {
            LevelDocument level;
            level.Load(LevelFile(name));
            std::string why;
            return Answer(LevelLink::Fits(level, &why) ? LevelLink::Pack(level) : "!" + why);
        }
        catch (const std::exception& error)
        {
            return Answer(std::string("!") + error.what());
        }
    }

    // Keeps a link's level under the name.
    EMSCRIPTEN_KEEPALIVE const char* kes_level_keep(const char* name, const char* link)
    {
        FindFiles();
        try
        {
            LevelDocument level = LevelLink::Unpack(link);
            level.Save(LevelFile(name));
            return Answer("");
        }
        catch (const std::exception& error)
        {
            return Answer(error.what());
        }
    }

    // The page is going out of sight, perhaps for good (a closed tab): the level being edited is autosaved
    // now, while its writes can still be stored.
    EMSCRIPTEN_KEEPALIVE void kes_level_away()
    {
        if (gGame && gGame->mEditorState != nullptr && gGame->mStateManager &&
            gGame->mStateManager->mCurrentState == gGame->mEditorState)
        {
            gGame->mEditorState->Autosave();
        }
    }

    // Removes a kept level: its description, the files it names, its autosave and its grid.
    EMSCRIPTEN_KEEPALIVE const char* kes_level_delete(const char* name)
    {
        FindFiles();
        const std::string file = LevelFile(name);
        const std::string folder = std::string(kLevelsFolder) + "/";
        std::vector<std::string> files = {EditorState::AutosavePath(file)};
        for (const std::string& level : {file, files.front()})
        {
            try
            {
                LevelDocument document;
                document.Load(level);
                for (const std::string& named :
                     {document.mBackgroundName, document.mCollisionName, document.mEntitiesName})
                {
                    files.push_back(folder + named);
                }
            }
            catch (const std::exception&)
            {
                // Whatever of it cannot be read is removed all the same.
            }
        }
        files.push_back(std::filesystem::path(file).replace_extension(".txt").string());
        files.push_back(file);
        for (const std::string& each : files)
        {
            PlayerFile::Remove(each);
        }
        return Answer("");
    }
}

void Platform::Start()
{
    // The software renderer draws on a 2D canvas, for about half the CPU of WebGL; the page may still pick
    // another one through SDL_RENDER_DRIVER.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    FindFiles();
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

void Platform::LevelLinkRefused(const std::string& why)
{
    CallPage("linkRefused", why.c_str());
}

std::string Platform::ShareRaceLink(const std::string& link)
{
    CallPage("race", link.c_str());
    // TRANSLATORS: above a race link on a card: at most 36 characters.
    return Tr("Copied, and in the address");
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
    // Another tab may play at once: this one will not.
    ReleaseStorage();
    CallPage("error", ("The game could not start: " + reason + ".").c_str());
}

void Platform::LinkRefused(const std::string& reason)
{
    std::cerr << "kestrovane: " << reason << std::endl;
    ReleaseStorage();
    CallPage("refused", reason.c_str());
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

std::vector<std::string> Platform::LanguagePreferences()
{
    char* joined = PageLanguages();
    std::vector<std::string> languages;
    std::string all = joined ? joined : "";
    std::free(joined);
    for (std::size_t start = 0; start <= all.size();)
    {
        const std::size_t colon = std::min(all.find(':', start), all.size());
        languages.push_back(all.substr(start, colon - start));
        start = colon + 1;
    }
    return languages;
}
