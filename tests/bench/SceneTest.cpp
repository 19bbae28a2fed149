// The scenes the benchmarks measure: they draw the game's real frame, and the crowds they promise stay
// there for as long as a measured stretch lasts.
#include "ContentFolder.h"
#include "LevelGenerator.h"
#include "PlayScene.h"

#include "graphics/Framework.h"
#include "world/Map.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{
class SceneTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!bench::ContentFolder::Available())
        {
            GTEST_SKIP() << "the game's content has not been generated";
        }
        mFolder = std::make_unique<bench::ContentFolder>();
    }

    void TearDown() override
    {
        mScene.reset(); // the game goes before its working folder
        mFolder.reset();
    }

    std::vector<Uint8> WindowBytes() const
    {
        const SDL_Surface* window = mScene->Window();
        const auto* pixels = static_cast<const Uint8*>(window->pixels);
        return std::vector<Uint8>(pixels, pixels + static_cast<std::size_t>(window->pitch) * window->h);
    }

    std::unique_ptr<bench::ContentFolder> mFolder;
    std::unique_ptr<bench::PlayScene> mScene;
};

TEST_F(SceneTest, MeasuredFrameIsTheMainLoopsFrame)
{
    mScene = std::make_unique<bench::PlayScene>(*mFolder, bench::ContentFolder::ShippedLevels().front());
    mScene->AddShot(mScene->ThePlayer().GetX() + 40, mScene->ThePlayer().GetY(), true);

    mScene->DrawFrame();
    const std::vector<Uint8> measured = WindowBytes();
    std::memset(mScene->Window()->pixels, 0, measured.size());
    // The real thing: clear, draw, enlarge, upload and present.
    mScene->TheGame().Render(0.0f);
    EXPECT_TRUE(WindowBytes() == measured);

    // Not a blank screen that any frame would match.
    std::size_t lit = 0;
    for (std::size_t i = 0; i < measured.size(); i += 4)
    {
        lit += (measured[i] | measured[i + 1] | measured[i + 2]) != 0 ? 1 : 0;
    }
    EXPECT_GT(lit, measured.size() / 4 / 10);
}

TEST_F(SceneTest, ClearFadeOverlayChangesNoPixel)
{
    mScene = std::make_unique<bench::PlayScene>(*mFolder, bench::ContentFolder::ShippedLevels().front());
    PlayState& play = mScene->Play();
    ASSERT_EQ(play.mAlpha, 0); // the fade-in is over

    mScene->DrawFrame();
    const std::vector<Uint8> withOverlay = WindowBytes();
    // Without the overlay the frame skips its blit; the picture must be the same byte for byte.
    std::unique_ptr<Image> overlay = std::move(play.mBlackScreen);
    mScene->DrawFrame();
    const std::vector<Uint8> withoutOverlay = WindowBytes();
    play.mBlackScreen = std::move(overlay);
    EXPECT_TRUE(withOverlay == withoutOverlay);

    // Half way through a fade the overlay does darken the picture, so the comparison can fail.
    play.mAlpha = 128;
    mScene->DrawFrame();
    EXPECT_FALSE(WindowBytes() == withoutOverlay);
}

TEST_F(SceneTest, StressArenaKeepsTwoHundredEnemiesAndFiftyShotsThroughEveryStretch)
{
    bench::LevelGenerator(mFolder->Dir()).WriteStressArena("stress.map");
    mScene = std::make_unique<bench::PlayScene>(*mFolder, "stress.map");
    Map& map = mScene->TheMap();
    Player& player = mScene->ThePlayer();
    ASSERT_EQ(map.mEnemies.size(), static_cast<std::size_t>(bench::LevelGenerator::kStressEnemies));

    // As the benchmark does: 50 shots in the lane, then 10 updates; 40 stretches is 400 updates.
    for (int stretch = 0; stretch < 40; ++stretch)
    {
        player.mBullets.clear();
        for (int i = 0; i < 50; ++i)
        {
            mScene->AddShot(bench::LevelGenerator::kStressLaneX + 15 * (i % 10), 20 + 16 * (i / 10), true);
        }
        player.mOxygen = 10.0;
        for (int tick = 0; tick < 10; ++tick)
        {
            mScene->Play().Tick(&mScene->TheGame());
            ASSERT_EQ(player.mBullets.size(), 50u) << "stretch " << stretch << ", update " << tick;
        }
        for (const auto& bullet : player.mBullets)
        {
            ASSERT_TRUE(bullet->GetIsAlive());
        }
    }
    std::size_t alive = 0;
    for (const auto& entry : map.mEnemies)
    {
        alive += entry.second->GetIsAlive() ? 1 : 0;
    }
    EXPECT_EQ(alive, 200u);
    EXPECT_TRUE(player.GetIsAlive());
    EXPECT_EQ(mScene->Play().mFadeState, 1); // still playing, not fading out
}

TEST_F(SceneTest, DecksHaveTheirSizeAndCrowd)
{
    const bench::LevelGenerator generator(mFolder->Dir());
    SDL_RendererInfo info{};
    info.num_texture_formats = 1;
    info.texture_formats[0] = SDL_PIXELFORMAT_ARGB8888;
    for (int width : {64, 256})
    {
        generator.WriteDeck("deck.map", width, 64, width / 8);
        Map map;
        ASSERT_TRUE(map.Load("data/maps/deck.map", info));
        EXPECT_EQ(map.mWidth, width);
        EXPECT_EQ(map.mHeight, 64);
        EXPECT_EQ(map.mEnemies.size(), static_cast<std::size_t>(width / 8));
        EXPECT_EQ(map.mItems.size(), static_cast<std::size_t>(width / 8));
        EXPECT_EQ(map.mPlayerStartX, 1);
        // Every backdrop cell has a picture: the deck is as busy to draw as a level can be.
        for (int row = 0; row < map.mHeight; row += 7)
        {
            for (int column = 0; column < map.mWidth; column += 5)
            {
                const Tile* tile = map.GetTile(column, row, 0);
                ASSERT_NE(tile, nullptr);
                EXPECT_NE(tile->mTileType->mImage, "0");
            }
        }
    }
}
} // namespace
