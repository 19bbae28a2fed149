// The base of the four menu screens: their event loop, fade, cursor blink, pictures and text drawing.
#pragma once

#include "State.h"
#include "input/Action.h"
#include "input/InputHandler.h"
#include "states/Fade.h"

#include <SDL.h>

#include <memory>
#include <string>

class Font;
class Image;

class MenuScreen : public State
{
  public:
    ~MenuScreen() override;
    MenuScreen(const MenuScreen&) = delete;
    MenuScreen& operator=(const MenuScreen&) = delete;

    // Releases every picture; a second call is harmless.
    void CleanUp() override;
    void Pause() override {}
    void Resume() override {}
    // The one place a menu screen reads input: one pass of the input layer, close requests handed to
    // HandleQuit, key events to HandleKeyEvent and the actions to HandleAction.
    void HandleEvents(Game* game) override;
    // The background picture, the screen's own drawing, then the fade overlay. The interpolation is unused:
    // menus draw at their last update.
    void Render(Game* game, const float& interpolation) override;

    // The cursor toggles when its counter passes this, so it shows for 16 updates and hides for 16.
    static constexpr unsigned int mBlinkLimit = 15;

    bool mArrowVisible = true;  // blink phase of the cursor and of what blinks with it
    int mAlpha = Fade::mOpaque; // black overlay opacity, 0..255
    int mFadeState = Fade::FadingIn;
    unsigned int mBlinkCounter = 0;     // updates since the cursor last toggled
    std::unique_ptr<Image> mArrowImage; // the cursor, on the screens that have one
    std::unique_ptr<Image> mBlackScreen;
    std::unique_ptr<Image> mBackgroundImage;
    std::unique_ptr<Image> mTitleImage; // the heading picture, on the screens with a cursor

  protected:
    MenuScreen() = default;

    // The window's close request; ignored unless a screen says otherwise.
    virtual void HandleQuit(Game* game);
    // A raw key event, before the actions it caused; the screens that read keys themselves (a key capture)
    // say so here.
    virtual InputHandler::Next HandleKeyEvent(Game* game, const SDL_KeyboardEvent& key);
    // An action that went down, or a held direction's repeat. Returns false to stop polling for this pass:
    // the events still queued wait for the next one.
    virtual bool HandleAction(Game* game, Action action, bool repeat);

    // What a screen draws between its background and the overlay: light-grey text, cursor, pictures.
    virtual void DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey) = 0;

    // Init steps. A picture that cannot be loaded throws the loader's message, naming SDL's reason.
    static std::unique_ptr<Image> LoadPicture(const std::string& file, SDL_RendererInfo info, bool colorKey);
    void LoadBackground(SDL_RendererInfo info);
    void CreateOverlay(Game* game);
    // Arrow, overlay, background and heading picture, in that order.
    void LoadCursorScreen(Game* game, const std::string& titleFile);

    // One update of the menus' fade; an idle screen starts fading in. True on the update a fade-out
    // completes, when the screen hands over.
    bool StepFade();
    void StepBlink();
    // Up and Down move the cursor over count options, wrapping round, with "select.wav". False for any
    // other action.
    static bool MoveCursor(Game* game, Action action, int& option, int count);

    // Back, or Fire: in the menus the second button (a controller's B, the touch screen's Fire) cancels,
    // as on consoles. The keyboard's fire key is play's alone and never reaches the menus.
    static bool GoesBack(Action action) { return action == Action::Back || action == Action::Fire; }

    // Draws text horizontally centred on the screen, top at y.
    static void DrawCentred(Font& font, const std::string& text, int y, Uint32 colour, SDL_Surface* screen);
    // Draws the whole of a picture as a solid shape in one colour.
    static void DrawShape(Image& picture, Uint32 colour, int x, int y, SDL_Surface* screen);
    // The heading picture, horizontally centred, top at y.
    void DrawTitle(SDL_Surface* screen, int y);
    // The two hint lines of the screens with a cursor, above the bottom line, naming the controls of the
    // device last used.
    static void DrawCursorHints(const Game* game, Font& font, Uint32 colour, SDL_Surface* screen);
    // One of three whole lines, for the device last used: the keyboard, a controller or the touch controls.
    static const char* ForDevice(const Game* game, const char* keyboard, const char* controller,
                                 const char* touch);
};
