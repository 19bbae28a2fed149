// The window file "kesv.window": kept size and scaling, written only when they change.
#include "player/WindowSettings.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace
{
TEST(WindowFile, WrittenOnlyOnceThereIsSomethingToKeepAndReadBack)
{
    test::TempDir dir;
    WindowSettings settings;
    settings.Load();
    ASSERT_TRUE(settings.SaveChanged());
    EXPECT_FALSE(dir.Exists(WindowSettings::mFileName)); // the defaults: nothing to keep yet

    settings.mWidth = 1600;
    settings.mHeight = 1200;
    settings.mScaling = Scaling::Mode::Sharp;
    ASSERT_TRUE(settings.SaveChanged());
    EXPECT_EQ("// Window width and height, then the scaling: Sharp, Fit or Stretch\n1600 1200 Sharp\n",
              dir.ReadFile(WindowSettings::mFileName));
}

TEST(WindowFile, ReadsTheFirstDataLineAndGarbledValuesFallBackOneByOne)
{
    test::TempDir dir;
    const struct
    {
        const char* text;
        int width, height;
        Scaling::Mode scaling;
    } table[] = {
        {"// notes\n\n800 600 Stretch\n640 480 Sharp\n", 800, 600, Scaling::Mode::Stretch},
        {"1600 1200 Sharp\n", 1600, 1200, Scaling::Mode::Sharp},
        {"1024 768 stretch\n", 1024, 768, Scaling::Mode::Fit},
        {"wide tall Sharp\n", 0, 0, Scaling::Mode::Sharp},
        {"1280\n", 0, 0, Scaling::Mode::Fit},
    };
    for (const auto& row : table)
    {
        dir.WriteFile(WindowSettings::mFileName, row.text);
        WindowSettings settings;
        settings.Load();
        EXPECT_EQ(std::make_tuple(row.width, row.height, row.scaling),
                  std::make_tuple(settings.mWidth, settings.mHeight, settings.mScaling))
            << row.text;
    }
}
} // namespace
