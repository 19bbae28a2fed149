// The named image cache: first image under a name wins, missing names give null.
#include "graphics/ImageManager.h"
#include "graphics/Utils.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
TEST(ImageManager, KeepsTheFirstImageUnderAName)
{
    test::TempDir dir;
    dir.WritePng("data/gfx/tiles.png", 2, 1, {0x800080, 0x00FF00});
    dir.WritePng("data/gfx/other.png", 3, 3, std::vector<std::uint32_t>(9, 0xFFFFFF));
    ImageManager manager;
    manager.AddImage("tiles", "tiles", test::ArgbRendererInfo(), true);
    Image* first = manager.GetImage("tiles");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->mHasColorKey);
    EXPECT_EQ(Utils::GetPixel(first->mSurface, 0, 0), 0u);

    // A second add under the same name loads nothing, not even a missing file.
    manager.AddImage("other", "tiles", test::ArgbRendererInfo(), false);
    manager.AddImage("missing", "tiles", test::ArgbRendererInfo(), false);
    EXPECT_EQ(manager.GetImage("tiles"), first);
    EXPECT_EQ(first->mSurface->w, 2);
    EXPECT_EQ(manager.mImages.size(), 1u);

    manager.AddImage("other", "sprites", test::ArgbRendererInfo(), false);
    ASSERT_NE(manager.GetImage("sprites"), nullptr);
    EXPECT_EQ(manager.GetImage("sprites")->mSurface->w, 3);
    EXPECT_EQ(manager.mImages.size(), 2u);
}

TEST(ImageManager, MissingNamesAndFiles)
{
    test::TempDir dir;
    ImageManager manager;
    EXPECT_EQ(manager.GetImage("never"), nullptr);
    EXPECT_THROW(manager.AddImage("absent", "absent", test::ArgbRendererInfo(), true), std::runtime_error);
    EXPECT_EQ(manager.GetImage("absent"), nullptr);
    EXPECT_TRUE(manager.mImages.empty());
    manager.RemoveImage("never");
}

TEST(ImageManager, RemoveFreesOnlyThatImage)
{
    test::TempDir dir;
    dir.WritePng("data/gfx/a.png", 1, 1, {0x123456});
    ImageManager manager;
    manager.AddImage("a", "one", test::ArgbRendererInfo(), true);
    manager.AddImage("a", "two", test::ArgbRendererInfo(), true);
    manager.RemoveImage("one");
    EXPECT_EQ(manager.GetImage("one"), nullptr);
    EXPECT_NE(manager.GetImage("two"), nullptr);
    // The name is free again for a fresh load.
    manager.AddImage("a", "one", test::ArgbRendererInfo(), false);
    ASSERT_NE(manager.GetImage("one"), nullptr);
    EXPECT_FALSE(manager.GetImage("one")->mHasColorKey);
}
} // namespace
