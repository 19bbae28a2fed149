// Every screen in every shipped language, on the real content: no text runs off the 320x240 picture, off
// the box it stands in, or over another text. With KES_FIT_PICTURES naming a folder, each screen is also
// saved there as <language>-<screen>.png, to look at.
#include "PlayDriver.h"

#include "Game.h"
#include "editor/EditorState.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "io/Translation.h"
#include "states/AssistState.h"
#include "states/Card.h"
#include "states/CreditsState.h"
#include "states/MainMenuState.h"
#include "states/PlayState.h"
#include "states/SettingsState.h"
#include "states/StoryState.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

namespace
{
bool Inside(const SDL_Rect& inner, const SDL_Rect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

std::string Describe(const Font::Drawn& text)
{
    std::ostringstream out;
    out << '"' << text.mText << "\" at " << text.mArea.x << "," << text.mArea.y << " (" << text.mArea.w << "x"
        << text.mArea.h << ")";
    return out.str();
}

// What is wrong with one frame's texts, one line each.
std::vector<std::string> Faults(const std::vector<Font::Drawn>& drawn)
{
    const SDL_Rect picture = {0, 0, 320, 240};
    std::vector<std::string> faults;
    std::vector<bool> hidden(drawn.size(), false);
    for (std::size_t i = 0; i < drawn.size(); ++i)
    {
        const Font::Drawn& text = drawn[i];
        if (text.mText.empty())
        {
            continue;
        }
        if (!Inside(text.mArea, picture))
        {
            faults.push_back(Describe(text) + " runs off the picture");
        }
        for (std::size_t j = 0; j < drawn.size(); ++j)
        {
            const Font::Drawn& box = drawn[j];
            if (!box.mText.empty() || !SDL_HasIntersection(&box.mArea, &text.mArea))
            {
                continue;
            }
            // A box covers what was drawn before it; what is drawn in it stays inside its border.
            const SDL_Rect inner = {box.mArea.x + 1, box.mArea.y + 1, box.mArea.w - 2, box.mArea.h - 2};
            if (j > i)
            {
                hidden[i] = true;
            }
            else if (!Inside(text.mArea, inner))
            {
                faults.push_back(Describe(text) + " runs off its box");
            }
        }
    }
    for (std::size_t i = 0; i < drawn.size(); ++i)
    {
        for (std::size_t j = i + 1; j < drawn.size(); ++j)
        {
            // A text's shadow is the same text again, a pixel aside.
            if (hidden[i] || hidden[j] || drawn[i].mText.empty() || drawn[j].mText.empty() ||
                drawn[i].mText == drawn[j].mText || !SDL_HasIntersection(&drawn[i].mArea, &drawn[j].mArea))
            {
                continue;
            }
            faults.push_back(Describe(drawn[j]) + " runs over " + Describe(drawn[i]));
        }
    }
    return faults;
}

// The languages to draw: English and every catalogue the build made.
std::vector<std::string> Languages()
{
    std::vector<std::string> codes = {""};
    for (const Translation::Language& language : Translation::Shipped())
    {
        if (std::filesystem::exists(std::string(Translation::mFolder) + language.mCode + ".mo"))
        {
            codes.push_back(language.mCode);
        }
    }
    return codes;
}

class LanguageFit : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        mSettings.Init(&Game());
        mMenu.Init(&Game());
        mAssist.Init(&Game());
        mStory.Init(&Game());
        mCredits.Init(&Game());
        Game().mAssistState = &mAssist;
        for (MenuScreen* screen :
             std::initializer_list<MenuScreen*>{&mSettings, &mMenu, &mAssist, &mStory, &mCredits})
        {
            screen->mAlpha = 0;
        }
        ASSERT_TRUE(mDriver.Play().Init(&Game()));
        const char* folder = std::getenv("KES_FIT_PICTURES");
        mPictures = folder ? folder : "";
    }
    void TearDown() override
    {
        Game().mFont->mRecord = nullptr;
        Translation::Use("");
    }
    ::Game& Game() { return mDriver.GetGame(); }
    SDL_Surface* Screen() { return Game().mScreen->mSurface; }

    // Draws one screen and checks its texts; every fault is reported with the language and the screen.
    void Check(const std::string& language, const std::string& name, const std::function<void()>& draw)
    {
        std::vector<Font::Drawn> drawn;
        SDL_FillRect(Screen(), nullptr, 0);
        Game().mFont->mRecord = &drawn;
        draw();
        Game().mFont->mRecord = nullptr;
        ++mChecked;
        for (const std::string& fault : Faults(drawn))
        {
            ADD_FAILURE() << (language.empty() ? "en" : language) << ", " << name << ": " << fault;
        }
        if (!mPictures.empty())
        {
            IMG_SavePNG(
                Screen(),
                (mPictures + "/" + (language.empty() ? "en" : language) + "-" + name + ".png").c_str());
        }
    }

    content::PlayDriver mDriver{0, true};
    SettingsState mSettings;
    MainMenuState mMenu;
    AssistState mAssist;
    StoryState mStory;
    CreditsState mCredits;
    std::string mPictures;
    int mChecked = 0;
};

TEST_F(LanguageFit, EveryScreenFitsInEveryLanguage)
{
    const std::vector<std::string> languages = Languages();
    ASSERT_GE(languages.size(), 2u) << "no catalogue in data/lang/";
    Game().mProgress.RecordTime("level1.map", 300); // so the main menu offers Continue
    for (const std::string& language : languages)
    {
        ASSERT_TRUE(Translation::Use(language)) << language;
        Check(language, "menu", [&] { mMenu.Render(&Game(), 0); });
        Check(language, "credits", [&] { mCredits.Render(&Game(), 0); });

        // Options: every row with each of its values.
        Check(language, "options", [&] { mSettings.Render(&Game(), 0); });
        for (int step = 0; step <= static_cast<int>(Translation::Shipped().size()); ++step)
        {
            Game().mLanguage.Step(1);
            Game().mShowFPS = !Game().mShowFPS;
            Game().mFramework->mScaling = Scaling::Next(Game().mFramework->mScaling);
            Check(language, "options-" + std::to_string(step), [&] { mSettings.Render(&Game(), 0); });
        }
        mSettings.mSelectedOption = 8; // a volume being set shows its cursor after the label
        mSettings.mEditing = true;
        Check(language, "options-volume", [&] { mSettings.Render(&Game(), 0); });
        mSettings.mEditing = false;

        // Assist: each value of each row, from either screen it is opened from.
        Assist& assist = Game().mAssist;
        for (int value = 0; value < 6; ++value)
        {
            assist.mSpeed = Assist::mSpeeds[value];
            assist.mAir = static_cast<Assist::Air>(value % 3);
            assist.mInvulnerable = value % 2 == 1;
            assist.mGhost = static_cast<Assist::Ghost>(value % 3);
            mAssist.mReturnTo = value % 2 ? "Play" : "Settings";
            Check(language, "assist-" + std::to_string(value), [&] { mAssist.Render(&Game(), 0); });
        }
        assist = Assist();

        // The story's opening and its ending, every page typed out.
        mStory.Tick(&Game()); // lays the story out for the language
        for (const char* part : {"story", "ending"})
        {
            if (std::string(part) == "ending")
            {
                ASSERT_TRUE(mStory.HasEnding());
                mStory.BeginEnding();
                mStory.mAlpha = 0;
            }
            for (std::size_t page = 0; page < 4; ++page)
            {
                const std::vector<std::string>& lines = mStory.mEnding ? mStory.mEndingLines : mStory.mLines;
                mStory.mCurrentLine = static_cast<unsigned>(lines.size() - 1);
                mStory.mShownChars = 1000;
                Check(language, part + ("-" + std::to_string(page)), [&] { mStory.Render(&Game(), 0); });
                for (unsigned tick = 0; tick <= StoryState::mPageHoldTicks; ++tick)
                {
                    mStory.Tick(&Game());
                }
                if (mStory.mPage != page + 1)
                {
                    break;
                }
            }
        }
        mStory.mEnding = false;

        // Play with its countdown, and the cards over it.
        PlayState& play = mDriver.Play();
        Check(language, "play", [&] { play.Render(&Game(), 0); });
        const Card::Times times = {1234, 1100, 1500, 1300, true};
        Card::Times race = times;
        race.mToBeat = 1300;
        std::vector<Card::Times> run(12, times);
        run[3] = Card::Times();
        const std::pair<const char*, std::unique_ptr<Card>> cards[] = {
            {"card-pause", Card::Pause()},
            {"card-level", Card::Level(12, times, true, "No space left on device")},
            {"card-best", Card::Level(3, {1234, 1100, 1500, 1300, false}, true)},
            {"card-run", Card::Run(run, "No space left on device")},
            {"card-race", Card::RaceStart(Tr("A made level"), 1234, true, 0)},
            {"card-race-won", Card::Level(2, race, false)},
        };
        for (const auto& [name, card] : cards)
        {
            Check(language, name,
                  [&, &card = card]
                  {
                      play.Render(&Game(), 0);
                      card->Render(Screen(), *Game().mFont, *play.mBlackScreen);
                  });
        }
        assist.mAir = Assist::Air::Endless;
        Check(language, "play-endless", [&] { play.Render(&Game(), 0); });
        assist = Assist();
    }
    // English and each language went through every screen.
    EXPECT_GE(mChecked, static_cast<int>(languages.size()) * 25);
}

// The hints for a controller or the touch controls are centred lines like the keyboard's, drawn only when
// that device was used last: each must fit a line of the picture.
TEST(LanguageFitHints, EveryDevicesHintFitsItsLine)
{
    const char* const hints[] = {"D-Pad = Change current option",       "Arrows = Change current option",
                                 "A Button = Select current option",    "Jump = Select current option",
                                 "Back Button = Back to the main menu", "Back = Back to the main menu",
                                 "Back Button = Back to the game",      "Back = Back to the game",
                                 "Back Button = Back to the options",   "Back = Back to the options"};
    for (const std::string& language : Languages())
    {
        ASSERT_TRUE(Translation::Use(language)) << language;
        for (const char* hint : hints)
        {
            EXPECT_LE(Font::Length(Tr(hint)), 39u) << language << ": " << Tr(hint);
        }
    }
    Translation::Use("");
}

TEST_F(LanguageFit, TheEditorFitsInEveryLanguage)
{
    EditorState editor;
    editor.Open("made.map");
    ASSERT_TRUE(editor.Init(&Game()));
    for (const std::string& language : Languages())
    {
        ASSERT_TRUE(Translation::Use(language)) << language;
        editor.mStatus = Tr("Kept the file; the autosave is replaced at the next change");
        for (int tool = 0; tool < 6; ++tool)
        {
            editor.mTool = static_cast<EditorState::Tool>(tool);
            editor.mLayer = tool % 2;
            editor.mFacing = tool % 2 == 0;
            Check(language, "editor-" + std::to_string(tool), [&] { editor.Render(&Game(), 0); });
        }
        editor.mHelp = true;
        Check(language, "editor-help", [&] { editor.Render(&Game(), 0); });
        editor.mHelp = false;
        editor.mZoom = EditorState::mMaxZoom; // the widest value line, and the zoom on the status line
        editor.OpenMenu();
        Check(language, "editor-menu", [&] { editor.Render(&Game(), 0); });
        editor.mMenu.Close();
        editor.mZoom = 1;
        editor.mPicker.Open();
        Check(language, "editor-letters", [&] { editor.Render(&Game(), 0); });
        editor.mPicker.Close();
    }
    editor.CleanUp();
}
} // namespace
