// Levels as links: packing is stable over a round trip, and broken or hostile links are refused plainly.
#include "editor/LevelLink.h"
#include "editor/Base64Url.h"
#include "editor/LevelDocument.h"
#include "editor/LinkCodec.h"

#include <gtest/gtest.h>

#include <SDL_image.h>

TEST(LevelLink, LinkToLevelToLinkIsStableForEveryShippedLevel)
{
    ASSERT_EQ(IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG, IMG_INIT_PNG);
    for (int number = 1; number <= 12; ++number)
    {
        LevelDocument level;
        level.Load("data/maps/level" + std::to_string(number) + ".map");
        const std::string link = LevelLink::Pack(level);
        const LevelDocument back = LevelLink::Unpack("https://example.org/kestrovane/#" + link);
        EXPECT_EQ(back.Layer(0), level.Layer(0));
        EXPECT_EQ(back.Layer(1), level.Layer(1));
        EXPECT_EQ(back.mEntities, level.mEntities);
        EXPECT_EQ(back.mDescription, level.mDescription);
        EXPECT_EQ(LevelLink::Pack(back), link);
        // A level is a few kilobytes: its link stays short enough for an address.
        EXPECT_LT(link.size(), 8000u) << number;
    }
}

TEST(LevelLink, CodecAndBase64RoundTripAnyBytes)
{
    std::string bytes;
    for (int i = 0; i < 3000; ++i)
    {
        bytes += static_cast<char>((i * 7919) % 251 < 100 ? 'a' : (i * 31) & 0xFF);
    }
    for (const std::string& sample : {std::string(), std::string("x"), std::string(500, 'z'), bytes})
    {
        EXPECT_EQ(LinkCodec::Unpack(LinkCodec::Pack(sample)), sample);
        EXPECT_EQ(Base64Url::Decode(Base64Url::Encode(sample)), sample);
    }
    EXPECT_LT(LinkCodec::Pack(std::string(20000, 'z')).size(), 600u);
}

TEST(LevelLink, BrokenAndHostileLinksAreRefusedWithAMessage)
{
    LevelDocument level;
    const std::string text = LevelLink::Text(level);
    const std::string good = LevelLink::Pack(level);
    // A copy of 130 bytes, over and over, claiming to unpack to 1 MiB.
    std::string bomb = "\x80\x80\x40";
    bomb += std::string("\x00x", 2);
    for (int i = 0; i < 1000; ++i)
    {
        bomb += std::string("\xFF\x00\x00", 3);
    }
    // The length just over the bound, seven bits a byte.
    std::string overBound;
    for (std::size_t length = LinkCodec::mMaxUnpacked + 1; length != 0; length >>= 7)
    {
        overBound += static_cast<char>((length & 0x7F) | (length > 0x7F ? 0x80 : 0));
    }
    const struct
    {
        std::string link;
        std::string says;
    } cases[] = {
        {"", "empty"},
        {"#   ", "empty"},
        {"not*base64", "characters"},
        {Base64Url::Encode(bomb), "too large"},
        {Base64Url::Encode(overBound + std::string("\x01", 1)), "too large"},
        {good.substr(0, good.size() / 2), "broken"},
        {Base64Url::Encode(LinkCodec::Pack("kestrovane-level 1\nsize 2000000 1\n")), "size"},
        {Base64Url::Encode(LinkCodec::Pack("kestrovane-level 1\nsize 20 15\nback 000000\n")), "cut short"},
        {Base64Url::Encode(LinkCodec::Pack(text + "entity Player 2 1 1\n")), "entity"},
        {Base64Url::Encode(LinkCodec::Pack("some other text")), "not a Kestrovane level"},
        {Base64Url::Encode(std::string("\x05\x82\x10\x00", 4)), "outside"},
        {std::string(LevelLink::mMaxText + 1, 'A'), "too large"},
    };
    for (const auto& bad : cases)
    {
        try
        {
            LevelLink::Unpack(bad.link);
            ADD_FAILURE() << "taken: " << bad.link.substr(0, 40);
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_NE(std::string(error.what()).find(bad.says), std::string::npos)
                << error.what() << " for " << bad.says;
        }
    }
}

// A level of the given size whose layers scatter 64 kinds of tile at random: what packs the worst.
static LevelDocument Scattered(int width, int height)
{
    LevelDocument level(width, height);
    std::uint32_t seed = 12345;
    for (int layer = 0; layer < 2; ++layer)
    {
        for (int y = 0; y < height; ++y)
        {
            for (int x = 0; x < width; ++x)
            {
                seed = seed * 1664525u + 1013904223u;
                level.SetCell(layer, x, y, 0x010101u * ((seed >> 24) % 64));
            }
        }
    }
    level.mEntities.push_back({"Player", true, 1, 1, "", {}});
    level.mDescription = "The worst a link packs";
    return level;
}

TEST(LevelLink, PackAndUnpackShareOneBound)
{
    // The largest levels a link holds come back whole, in any shape of as many cells. At random they make
    // the longest links, about 184,500 characters.
    for (const auto& [width, height] : {std::pair{256, 256}, std::pair{1024, 64}})
    {
        const LevelDocument level = Scattered(width, height);
        ASSERT_TRUE(LevelLink::Fits(level));
        const std::string link = LevelLink::Pack(level);
        EXPECT_LE(link.size(), LevelLink::mMaxText);
        const LevelDocument back = LevelLink::Unpack(link);
        EXPECT_EQ(back.Layer(0), level.Layer(0));
        EXPECT_EQ(back.Layer(1), level.Layer(1));
        EXPECT_EQ(back.mEntities, level.mEntities);
    }

    // One row more, or a level whose entities make its text too long, is told so before any link is made.
    LevelDocument crowded(256, 256);
    for (int i = 0; i < 20000; ++i)
    {
        crowded.mEntities.push_back(
            {"KeycardLock", true, i % 256, i / 256 % 256, "lock" + std::to_string(i), {}});
    }
    for (const LevelDocument& tooLarge : {LevelDocument(256, 257), crowded})
    {
        std::string why;
        EXPECT_FALSE(LevelLink::Fits(tooLarge, &why));
        EXPECT_EQ(why, LevelLink::mTooLarge);
        EXPECT_THROW(LevelLink::Pack(tooLarge), std::runtime_error);
    }

    // Nor does Unpack take what Pack would refuse: a text of too many cells, or one over the bound.
    const std::string tall = LevelLink::Text(LevelDocument(256, 257));
    EXPECT_THROW(LevelLink::FromText(tall), std::runtime_error);
    EXPECT_THROW(LinkCodec::Pack(std::string(LinkCodec::mMaxUnpacked + 1, 'x')), std::runtime_error);
}
