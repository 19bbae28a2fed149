// The starfield and random integers: fixed sequence from seed 1, movement and drawing.
#include "graphics/Utils.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace
{
// The generator as captured before the first test runs, to prove the program starts at seed 1.
std::minstd_rand0 generatorAtStart;

class CaptureGenerator : public ::testing::Environment
{
  public:
    void SetUp() override { generatorAtStart = Utils::rand_gen; }
};
const auto* const captureGenerator = ::testing::AddGlobalTestEnvironment(new CaptureGenerator);

// The generator and uniform draw written out from their definitions, independent of the game's code.
struct ExpectedSequence
{
    std::uint64_t state = 1;

    std::uint64_t Next()
    {
        state = 16807 * state % 2147483647;
        return state;
    }

    int Uniform(int low, int high)
    {
        const std::uint64_t count = static_cast<std::uint64_t>(high - low) + 1;
        const std::uint64_t scale = 2147483645 / count;
        std::uint64_t value;
        do
        {
            value = Next() - 1;
        } while (value >= count * scale);
        return low + static_cast<int>(value / scale);
    }
};

TEST(Starfield, GeneratorStartsFromSeedOne)
{
    EXPECT_TRUE(generatorAtStart == std::minstd_rand0(1));
    std::minstd_rand0 copy = generatorAtStart;
    EXPECT_EQ(copy(), 16807u);
    EXPECT_EQ(copy(), 282475249u);
}

TEST(Starfield, FirstStarsAreAlwaysTheSame)
{
    Utils::rand_gen.seed(1);
    std::vector<Utils::Star> stars(200);
    Utils::InitStars(stars, 320, 240);

    // The first three stars, worked out by hand from the generator's first nine values.
    const int firstThree[3][3] = {{0, 31, 10}, {147, 128, 3}, {15, 163, 9}};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(stars[i].x, firstThree[i][0]);
        EXPECT_EQ(stars[i].y, firstThree[i][1]);
        EXPECT_EQ(stars[i].speed, firstThree[i][2]);
    }

    ExpectedSequence expected;
    for (const Utils::Star& star : stars)
    {
        ASSERT_EQ(star.x, expected.Uniform(0, 320));
        ASSERT_EQ(star.y, expected.Uniform(0, 240));
        ASSERT_EQ(star.speed, expected.Uniform(1, 12));
    }
}

TEST(Starfield, StarsThatPassTheLeftEdgeArePlacedAnew)
{
    Utils::rand_gen.seed(1);
    std::vector<Utils::Star> stars = {{5, 100, 7}, {7, 50, 7}, {30, 60, 12}};
    Utils::DoStars(stars, 320, 240);
    ExpectedSequence expected;
    EXPECT_EQ(stars[0].x, expected.Uniform(20, 320));
    EXPECT_EQ(stars[0].y, expected.Uniform(0, 240));
    EXPECT_EQ(stars[0].speed, expected.Uniform(1, 12));
    EXPECT_EQ(stars[1].x, 0);
    EXPECT_EQ(stars[1].y, 50);
    EXPECT_EQ(stars[1].speed, 7);
    EXPECT_EQ(stars[2].x, 18);
}

TEST(Starfield, DrawsOneGreyPixelPerVisibleStar)
{
    test::SurfacePtr surface = test::MakeSurface(10, 8, 4);
    const std::vector<Utils::Star> stars = {{2, 3, 1}, {9, 7, 12}, {10, 1, 5}, {4, 8, 8}, {-1, 2, 8}};
    Utils::DrawStars(stars, surface.get());
    int lit = 0;
    for (int y = 0; y < 8; ++y)
    {
        for (int x = 0; x < 10; ++x)
        {
            lit += Utils::GetPixel(surface.get(), x, y) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(lit, 2);
    EXPECT_EQ(Utils::GetPixel(surface.get(), 2, 3), Utils::GetStarColor(surface.get(), 1));
    EXPECT_EQ(Utils::GetPixel(surface.get(), 9, 7), Utils::GetStarColor(surface.get(), 12));
}

TEST(RandomInteger, FollowsTheSameDrawAndStaysInRange)
{
    Utils::rand_gen.seed(1);
    ExpectedSequence expected;
    for (int i = 0; i < 1000; ++i)
    {
        const int low = (i % 7) - 3;
        const int high = low + i % 50;
        ASSERT_EQ(Utils::RandomInteger(low, high), expected.Uniform(low, high));
    }
    // Ranges wider than one draw of the generator, and reversed bounds, still stay inside.
    for (int i = 0; i < 100; ++i)
    {
        const int wide = Utils::RandomInteger(-2000000000, 2000000000);
        ASSERT_TRUE(wide >= -2000000000 && wide <= 2000000000) << wide;
        const int reversed = Utils::RandomInteger(9, 4);
        ASSERT_TRUE(reversed >= 4 && reversed <= 9) << reversed;
    }
}
} // namespace
