// What differs between the desktop and the browser, in one place: who calls the passes of the main loop,
// where files live, how errors and the end of a run reach the player, and what a browser forbids or asks
// for. PlatformDesktop.cpp and PlatformWeb.cpp each answer it for one; the build picks one of them.
#pragma once

#include "graphics/Scaling.h"

#include <SDL_video.h>

#include <memory>
#include <string>
#include <vector>

class Game;

class Platform
{
  public:
    // Before anything else: in the browser, the player's stored files are linked into the game's folder
    // (the page loaded them before the program started) and the renderer is chosen; on the desktop, a
    // file-size limit becomes a failed write instead of a stopped program.
    static void Start();
    // Runs a started game to its end and returns the exit status; an error that escapes it goes on to the
    // caller, the game destroyed on the way. The browser calls each pass from the page instead, and this
    // returns at once.
    static int Play(std::unique_ptr<Game> game);
    // Whether the window opens fullscreen: a browser allows fullscreen only from a key press.
    static bool OpensFullscreen(bool wanted);
    // The Fullscreen option: the window in the desktop's own resolution, or in the browser the page's
    // picture enlarged to the screen (once the browser handles the next key event, as it requires).
    static bool IsFullscreen(SDL_Window* window);
    static void SetFullscreen(SDL_Window* window, bool fullscreen);
    // Whether the player sizes the window; a browser page sizes its canvas itself.
    static bool HasResizableWindow();
    // The scaling choice reaches the page, which lays out its canvas by it (whole multiples for Sharp).
    static void ShowScaling(Scaling::Mode mode);
    // Whether a hidden window means the player looks elsewhere (a page out of sight); the desktop hides its
    // window only while it rebuilds it for another renderer.
    static bool HiddenMeansAway();
    // Whether every pass draws a frame: on the browser's 2D canvas a pass that ran no update leaves the last
    // picture.
    static bool DrawsEveryPass();
    // A browser tab never exits, so there the settings are written whenever they change.
    static bool SavesSettingsOnChange();
    // A screenshot was just written to this file: in the browser it becomes a download.
    static void ScreenshotWritten(const std::string& file);
    // The level being edited now packs into this link: the page's "Copy link" offers it.
    static void LevelLinkChanged(const std::string& link);
    // The level being edited has no link, for this reason: the page's "Copy link" says it instead.
    static void LevelLinkRefused(const std::string& why);
    // A race link was made for the player to send: on the desktop it is printed on standard output and put on
    // the clipboard, in the browser it goes into the address and onto the clipboard. Gives where it went, as
    // the card tells the player.
    static std::string ShareRaceLink(const std::string& link);
    // The level editor came up or went away (test-play, leaving): the page shows its editing controls only
    // while it is up.
    static void EditorShown(bool shown);
    // Asks the page for a line of text in the browser's own field, which brings up a phone's keyboard; the
    // answer comes back through kes_typed. False where there is no such field (the desktop).
    static bool AskText(const std::string& prompt, const std::string& text);
    // The game did not start, for this reason (no error box: the program ends quietly).
    static void NotStarted(const std::string& reason);
    // A link given at start was refused, for this reason, before any window opened: said on standard
    // error, and in the browser on the page, which offers the main menu.
    static void LinkRefused(const std::string& reason);
    // A failure ended the program.
    static void ShowError(const std::string& message);
    // The run ended through the credits: the page says how to play again.
    static void Ended();
    // The player's languages in order of preference: the desktop's locale settings, or the browser's.
    static std::vector<std::string> LanguagePreferences();
};
