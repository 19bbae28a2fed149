// What differs between the desktop and the browser, in one place: where files live, how errors and the end
// of a run reach the player, and what a browser forbids or asks for.
#pragma once

#include "graphics/Scaling.h"

#include <SDL_video.h>

#include <string>

class Platform
{
  public:
    // Before anything else: in the browser, the player's saved files are loaded from its storage and the
    // renderer is chosen.
    static void Start();
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
    // A browser tab never exits, so there the settings are written whenever they change.
    static bool SavesSettingsOnChange();
    // A file of the player's (settings, progress) was just written: the browser keeps it in its storage.
    static void PlayerFileWritten();
    // A screenshot was just written to this file: in the browser it becomes a download.
    static void ScreenshotWritten(const std::string& file);
    // The level being edited now packs into this link: the page's "Copy link" offers it.
    static void LevelLinkChanged(const std::string& link);
    // The game did not start, for this reason (no error box: the program ends quietly).
    static void NotStarted(const std::string& reason);
    // A failure ended the program.
    static void ShowError(const std::string& message);
    // The run ended through the credits: the page says how to play again.
    static void Ended();
};
