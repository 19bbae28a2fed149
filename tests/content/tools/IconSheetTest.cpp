// The desktop icon builder: grids enlarged to their sizes, see-through pixels, and faulty sources refused.
#include "IconSheet.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
class IconSheetTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        fs::create_directories(mFolder);
        std::ofstream(mFolder / "palette.txt") << "_ key 128 0 128\nr red 255 0 0\nb blue 0 0 255\n";
    }
    void TearDown() override { fs::remove_all(mFolder); }

    std::string Source(const std::string& grids)
    {
        std::ofstream(mFolder / "icon.txt") << "// test icon\npalette palette.txt\n" << grids;
        return (mFolder / "icon.txt").string();
    }

    fs::path mFolder = fs::temp_directory_path() / ("kes-icon-" + std::to_string(::getpid()));
};

TEST_F(IconSheetTest, EachSizeEnlargesItsOwnGridAndLeavesUnpaintedPixelsSeeThrough)
{
    IconSheet sheet;
    sheet.Load(Source("grid 2 sizes 2 4\nr.\n_b\n\ngrid 3 sizes 6\nbbb\nbrb\nbbb\n"));
    EXPECT_EQ(sheet.Sizes(), (std::vector<int>{2, 4, 6}));

    Picture four = sheet.Render(4);
    EXPECT_EQ(four.Get(1, 1), 0xFF0000u);
    EXPECT_EQ(four.Get(2, 1), IconSheet::mTransparent);
    EXPECT_EQ(four.Get(1, 2), IconSheet::mTransparent);
    EXPECT_EQ(four.Get(3, 3), 0x0000FFu);
    Picture six = sheet.Render(6);
    EXPECT_EQ(six.Get(2, 2), 0xFF0000u);
    EXPECT_EQ(six.Get(1, 2), 0x0000FFu);
    EXPECT_THROW(sheet.Render(8), std::runtime_error);
}

TEST_F(IconSheetTest, SavedIconHasAlphaOnlyWhereTheGridIsPainted)
{
    IconSheet sheet;
    sheet.Load(Source("grid 2 sizes 2\nr.\n_b\n"));
    std::string path = (mFolder / "icon.png").string();
    IconSheet::SaveWithAlpha(sheet.Render(2), path);

    SDL_Surface* loaded = IMG_Load(path.c_str());
    ASSERT_NE(loaded, nullptr);
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(surface, nullptr);
    auto alpha = [&](int x, int y)
    { return static_cast<const Uint8*>(surface->pixels)[y * surface->pitch + 4 * x + 3]; };
    EXPECT_EQ(alpha(0, 0), 255);
    EXPECT_EQ(alpha(1, 0), 0);
    EXPECT_EQ(alpha(0, 1), 0);
    EXPECT_EQ(alpha(1, 1), 255);
    SDL_FreeSurface(surface);
}

TEST_F(IconSheetTest, FaultySourcesAreRefusedWithTheirLine)
{
    const std::pair<const char*, const char*> faults[] = {
        {"grid 2 sizes 3\nrr\nrr\n", "icon.txt:3: size 3 is not a multiple of 2"},
        {"grid 2 sizes 2\nrrr\nrr\n", "icon.txt:4: a row of this grid must be 2 wide"},
        {"grid 2 sizes 2\nrr\n", "icon.txt:4: a grid of side 2 needs 2 rows, not 1"},
        {"grid 2 sizes 2\nrx\nrr\n", "icon.txt:4: colour not in the palette: 'x'"},
        {"grid 1 sizes 2\nr\ngrid 2 sizes 2\nrr\nrr\n", "icon.txt:5: size 2 is served twice"},
        {"grid 0 sizes 2\n", "icon.txt:3: expected a size from 1 to 1024, got '0'"},
        {"", "no grid"},
    };
    for (const auto& [grids, message] : faults)
    {
        IconSheet sheet;
        try
        {
            sheet.Load(Source(grids));
            ADD_FAILURE() << "accepted: " << grids;
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
}
} // namespace
