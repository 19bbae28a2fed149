// The base of the four menu screens: their event loop, fade, cursor blink, pictures and text drawing.
#pragma once

#include "State.h"
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
    // The one place a menu screen reads input: polls every queued event into mEvent and hands close
    // requests to HandleQuit and key presses to HandleKey; other events are ignored.
    void HandleEvents(Game* game) override;
    // The background picture, the screen's own drawing, then the fade overlay. The interpolation is unused:
    // menus draw at their last update.
    void Render(Game* game, const float& interpolation) override;

    // The cursor toggles when its counter passes this, so it shows for 16 updates and hides for 16.
    static constexpr unsigned int mBlinkLimit = 15;

    SDL_Event mEvent{};
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
    // A key press, repeats included, by physical key. Returns false to stop polling for this pass: the
    // events still queued wait for the next one.
    virtual bool HandleKey(Game* game, SDL_Scancode key);

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
    // other key.
    static bool MoveCursor(Game* game, SDL_Scancode key, int& option, int count);

    // Draws text horizontally centred on the screen, top at y.
    static void DrawCentred(Font& font, const std::string& text, int y, Uint32 colour, SDL_Surface* screen);
    // Draws the whole of a picture as a solid shape in one colour.
    static void DrawShape(Image& picture, Uint32 colour, int x, int y, SDL_Surface* screen);
    // The heading picture, horizontally centred, top at y.
    void DrawTitle(SDL_Surface* screen, int y);
    // The two hint lines of the screens with a cursor, above the bottom line.
    static void DrawCursorHints(Font& font, Uint32 colour, SDL_Surface* screen);
};
