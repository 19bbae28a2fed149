// Pixel checks on drawn frames: countdown text, status display, the player's pictures, blinking, the
// death step, shots and the fade overlay.
#include "PlayTest.h"

#include "entities/Bullet.h"
#include "graphics/Font.h"
#include "graphics/ImageManager.h"
#include "graphics/Utils.h"

namespace
{
bool IsWhite(SDL_Color c)
{
    return c.r >= 250 && c.g >= 250 && c.b >= 250;
}

bool IsBlack(SDL_Color c)
{
    return c.r <= 4 && c.g <= 4 && c.b <= 4;
}

// The sheet colour (written by the world fixtures) that tells which source pixel was drawn.
bool IsSheetPixel(SDL_Color c, int x, int y)
{
    const std::uint32_t expected = test::SheetPixel(x, y);
    return c.r == ((expected >> 16) & 0xFF) && c.g == ((expected >> 8) & 0xFF) && c.b == (expected & 0xFF);
}
} // namespace

class RenderTest : public PlayTest
{
  protected:
    // A room whose top row of background is wall pictures, so a black shadow shows against it; the
    // stars are taken away so that nothing else is white.
    void Start(const std::string& placement = "Player 1 5 11 p\n")
    {
        test::LevelFiles level = Level("room", placement);
        level.collision = level.background;
        level.background[0] = std::string(20, '#');
        BeginPlaying(level);
        P().mStars.clear();
    }

    // The white pixels of the text band are exactly those of `text` drawn at (96, 4), and each glyph pixel
    // with no glyph pixel to its right has a black one there.
    ::testing::AssertionResult CountdownReads(const std::string& text)
    {
        SDL_Surface* screen = H().Screen();
        test::SurfacePtr expected(SDL_CreateRGBSurfaceWithFormat(
            0, screen->w, screen->h, screen->format->BitsPerPixel, screen->format->format));
        const Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
        G()->mFont->DrawString(text, 96, 4, white, expected.get());
        const auto glyph = [&](int x, int y) { return Utils::GetPixel(expected.get(), x, y) == white; };
        for (int y = 4; y < 12; ++y)
        {
            for (int x = 80; x < screen->w; ++x)
            {
                if (IsWhite(H().Pixel(x, y)) != glyph(x, y))
                {
                    return ::testing::AssertionFailure()
                           << "\"" << text << "\" differs at (" << x << ", " << y << ")";
                }
                if (glyph(x - 1, y) && !glyph(x, y) && !IsBlack(H().Pixel(x, y)))
                {
                    return ::testing::AssertionFailure() << "no shadow at (" << x << ", " << y << ")";
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    // The player's picture is drawn at its place from sheet position (sourceX, 0), mirrored or not.
    bool PlayerShows(int sourceX, bool mirrored = false)
    {
        const int x = static_cast<int>(Pl().GetX());
        const int y = static_cast<int>(Pl().GetY());
        for (const int dx : {1, 6, 13})
        {
            const int column = mirrored ? sourceX + 15 - dx : sourceX + dx;
            if (!IsSheetPixel(H().Pixel(x + dx, y + 5), column, 5))
            {
                return false;
            }
        }
        return true;
    }
};

TEST_F(RenderTest, TheCountdownReadsTheOxygenLeftBesideTheStatusDisplay)
{
    Start();
    Pl().mOxygen = 10.0;
    H().RenderFrame();
    EXPECT_TRUE(CountdownReads("Time left: 10"));
    EXPECT_EQ(255, H().Pixel(4, 4).g) << "the status display (a green picture here) is drawn too";

    H().Tick();
    H().RenderFrame();
    EXPECT_TRUE(CountdownReads("Time left: 09.97"));

    Pl().mOxygen = 5.2;
    H().RenderFrame();
    EXPECT_TRUE(CountdownReads("Time left: 05.2"));

    Pl().mOxygen = 0.0;
    H().RenderFrame();
    EXPECT_TRUE(CountdownReads("Time left: 00.00"));
}

TEST_F(RenderTest, ThePlayerIsDrawnFromItsStatesPlaceInTheSheet)
{
    Start();
    H().RenderFrame();
    EXPECT_TRUE(PlayerShows(0)) << "standing";

    Pl().SetDirection(false);
    H().RenderFrame();
    EXPECT_TRUE(PlayerShows(0, true)) << "facing left: mirrored from the same picture";
    Pl().SetDirection(true);

    EntityType& type = *Pl().GetEntityType();
    type.mFrameCounter = 25; // frame 2 of 4
    Pl().SetState(Walking);
    H().RenderFrame();
    EXPECT_TRUE(PlayerShows(32)) << "walking, third frame";

    type.mFrameCounter = 0;
    Pl().SetState(JumpingArmed);
    H().RenderFrame();
    EXPECT_TRUE(PlayerShows(144));

    type.mFrameCounter = 12;
    Pl().SetState(DyingArmed);
    H().RenderFrame();
    EXPECT_TRUE(PlayerShows(208 + 16)) << "second death frame, armed";
    Pl().SetState(DeadArmed);
    H().RenderFrame();
    EXPECT_TRUE(PlayerShows(240));
}

TEST_F(RenderTest, AHurtPlayerBlinksShownOnlyAtMultiplesOfFour)
{
    Start();
    for (int timer = 25; timer >= 20; --timer)
    {
        Pl().mHurtTimer = timer;
        H().RenderFrame();
        EXPECT_EQ(timer % 4 == 0, PlayerShows(0)) << "hurt timer " << timer;
    }
    // Walking through its third frame does not shorten the immunity.
    Pl().GetEntityType()->mFrameCounter = 20;
    Pl().SetState(Walking);
    Pl().mHurtTimer = 21;
    H().RenderFrame();
    EXPECT_EQ(21, Pl().mHurtTimer);
    EXPECT_EQ(Walking, Pl().GetState());
}

TEST_F(RenderTest, TheThirdDeathFrameCompletesTheDeathEvenWhileBlinking)
{
    Start();
    EntityType& type = *Pl().GetEntityType();
    Pl().SetState(Dying);
    Pl().mHurtTimer = 25;
    type.mFrameCounter = 19;
    H().RenderFrame();
    EXPECT_EQ(Dying, Pl().GetState()) << "still the second frame";
    type.mFrameCounter = 20;
    H().RenderFrame();
    EXPECT_EQ(Dead, Pl().GetState());
    EXPECT_EQ(0, Pl().mHurtTimer);
    EXPECT_FALSE(PlayerShows(160 + 32)) << "blinked away in that frame";

    Pl().SetState(DyingArmed);
    H().RenderFrame();
    EXPECT_EQ(DeadArmed, Pl().GetState());
}

TEST_F(RenderTest, ShotsAreDrawnFromTheFirstPictureOfTheirType)
{
    Start();
    auto shot = std::make_unique<Bullet>();
    shot->Init(200.0, 100.0, "0", M().mEntityTypeManager->GetEntityType("Bullet"));
    Bullet* raw = shot.get();
    Pl().mBullets.push_back(std::move(shot));
    // The Bullet type's picture lies at sheet column 12, row 1.
    H().RenderFrame();
    EXPECT_TRUE(IsSheetPixel(H().Pixel(201, 103), 192 + 1, 16 + 3));
    raw->SetDirection(false);
    H().RenderFrame();
    EXPECT_TRUE(IsSheetPixel(H().Pixel(201, 103), 192 + 14, 16 + 3));

    // Without the sprite sheet neither shots nor player are drawn, but the rest is.
    M().mImageManager->RemoveImage("sprites");
    H().RenderFrame();
    EXPECT_TRUE(IsBlack(H().Pixel(201, 103)));
    EXPECT_FALSE(PlayerShows(0));
    EXPECT_EQ(255, H().Pixel(4, 4).g);
}

TEST_F(RenderTest, TheFadeOverlayDarkensEverything)
{
    Start();
    H().RenderFrame();
    ASSERT_TRUE(PlayerShows(0));

    P().mAlpha = 255;
    H().RenderFrame();
    SDL_Surface* screen = H().Screen();
    int lit = 0;
    for (int y = 0; y < screen->h; ++y)
    {
        for (int x = 0; x < screen->w; ++x)
        {
            lit += IsBlack(H().Pixel(x, y)) ? 0 : 1;
        }
    }
    EXPECT_EQ(0, lit);

    P().mAlpha = 128;
    H().RenderFrame();
    EXPECT_NEAR(127, H().Pixel(4, 4).g, 3) << "half way";
}

TEST_F(RenderTest, AirAssistsSlowOrStopTheCountdownAndARunThatWouldHaveDiedLivesOn)
{
    Start();
    const double start = Pl().mOxygen;
    G()->mAssist.mAir = Assist::Air::Long;
    H().Tick(100);
    EXPECT_NEAR(start - 100 * 0.015, Pl().mOxygen, 1e-9) << "tanks last twice as long";

    // Far past the 333 updates a full tank lasts.
    G()->mAssist.mAir = Assist::Air::Endless;
    H().Tick(400);
    EXPECT_TRUE(Pl().GetIsAlive());
    EXPECT_NEAR(start - 1.5, Pl().mOxygen, 1e-9);
    H().RenderFrame();
    EXPECT_TRUE(CountdownReads("Time left: endless"));
    EXPECT_TRUE(P().mLevelAssisted);
}
