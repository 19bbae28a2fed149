// The window file "kesv.window": kept size and scaling, written only when they change.
#include "WindowSettings.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace
{
TEST(WindowFile, MissingFileGivesDefaultsAndIsWrittenOnlyOnceThereIsSomethingToKeep)
{
    test::TempDir dir;
    WindowSettings settings;
    settings.Load();
    EXPECT_EQ(0, settings.mWidth);
    EXPECT_EQ(Scaling::Mode::Fit, settings.mScaling);
    ASSERT_TRUE(settings.SaveChanged());
    EXPECT_FALSE(dir.Exists(WindowSettings::mFileName));

    settings.mWidth = 1600;
    settings.mHeight = 1200;
    settings.mScaling = Scaling::Mode::Sharp;
    ASSERT_TRUE(settings.SaveChanged());
    EXPECT_EQ("// Window width and height, then the scaling: Sharp, Fit or Stretch\n1600 1200 Sharp\n",
              dir.ReadFile(WindowSettings::mFileName));
    WindowSettings read;
    read.Load();
    EXPECT_EQ(1600, read.mWidth);
    EXPECT_EQ(1200, read.mHeight);
    EXPECT_EQ(Scaling::Mode::Sharp, read.mScaling);
}

TEST(WindowFile, GarbledValuesFallBackOneByOne)
{
    test::TempDir dir;
    const struct
    {
        const char* text;
        int width, height;
        Scaling::Mode scaling;
    } table[] = {
        {"// notes\n\n800 600 Stretch\n640 480 Sharp\n", 800, 600, Scaling::Mode::Stretch}, // first data line
        {"1024 768 stretch\n", 1024, 768, Scaling::Mode::Fit},
        {"wide tall Sharp\n", 0, 0, Scaling::Mode::Sharp},
        {"1280\n", 0, 0, Scaling::Mode::Fit},
    };
    for (const auto& row : table)
    {
        dir.WriteFile(WindowSettings::mFileName, row.text);
        WindowSettings settings;
        settings.Load();
        EXPECT_EQ(row.width, settings.mWidth) << row.text;
        EXPECT_EQ(row.height, settings.mHeight) << row.text;
        EXPECT_EQ(row.scaling, settings.mScaling) << row.text;
    }
}
} // namespace
