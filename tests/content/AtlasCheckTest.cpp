// The atlas check sees every change to the committed page and pictures, and reads each level's description.
#include "AtlasCheck.h"
#include "LevelSurvey.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

TEST(AtlasCheck, APageDiffersFromItsFirstChangedLineAndAPictureByAnyPixel)
{
    test::TempDir dir(false);
    std::ostringstream report;
    const AtlasCheck check(report);

    dir.WriteFile("levels.md", "# Levels\n| 1 | a |\n");
    EXPECT_TRUE(check.PageMatches(dir.Path() / "levels.md", "# Levels\n| 1 | a |\n"));
    EXPECT_FALSE(check.PageMatches(dir.Path() / "levels.md", "# Levels\n| 1 | b |\n"));
    EXPECT_NE(std::string::npos, report.str().find("stale from line 2")) << report.str();
    EXPECT_FALSE(check.PageMatches(dir.Path() / "levels.md", "# Levels\n| 1 | a |\n| 99 | gone |\n"));

    // A 3 x 2 picture drawn in the game's pixel format, saved, then one pixel changed on the drawn side.
    const std::vector<std::uint32_t> colours{0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x000000};
    dir.WritePng("levels/level.png", 3, 2, colours);
    test::SurfacePtr drawn = test::MakeSurface(3, 2, 4);
    for (int i = 0; i < 6; ++i)
        static_cast<Uint32*>(drawn->pixels)[i] = 0xFF000000u | colours[static_cast<std::size_t>(i)];
    EXPECT_TRUE(check.PictureMatches(dir.Path() / "levels/level.png", drawn.get())) << report.str();
    static_cast<Uint32*>(drawn->pixels)[4] ^= 0x000100u;
    report.str("");
    EXPECT_FALSE(check.PictureMatches(dir.Path() / "levels/level.png", drawn.get()));
    EXPECT_NE(std::string::npos, report.str().find("pixel 1,1")) << report.str();
    test::SurfacePtr wider = test::MakeSurface(4, 2, 4);
    EXPECT_FALSE(check.PictureMatches(dir.Path() / "levels/level.png", wider.get()));
    EXPECT_FALSE(check.PictureMatches(dir.Path() / "levels/gone.png", drawn.get()));
}

TEST(AtlasCheck, ALevelDescriptionIsItsOpeningCommentsAfterAnyByteOrderMark)
{
    test::TempDir dir(false);
    dir.WriteFile("plain.txt", "// The first deck.\r\n//   Mind the acid.\nbackdrop\n// not this\n");
    dir.WriteFile("marked.txt", "\xEF\xBB\xBF// The first deck.\n// Mind the acid.\nbackdrop\n");
    dir.WriteFile("bare.txt", "backdrop\n");
    EXPECT_EQ("The first deck. Mind the acid.", LevelSurvey::Description(dir.Path() / "plain.txt"));
    EXPECT_EQ("The first deck. Mind the acid.", LevelSurvey::Description(dir.Path() / "marked.txt"));
    EXPECT_EQ("", LevelSurvey::Description(dir.Path() / "bare.txt"));
}
