// Races as links: a run and its level come back whole, and cut, bloated or hostile links are refused.
#include "editor/RaceLink.h"
#include "editor/Base64Url.h"
#include "editor/LevelLink.h"
#include "editor/LinkCodec.h"

#include <gtest/gtest.h>

namespace
{
// A run holding every combination of keys in runs of every length up to 40.
RaceLink ShippedRace()
{
    RaceLink race;
    race.mSet = "maps";
    race.mFile = "level7.map";
    race.mHash = "0123456789abcdef";
    for (unsigned length = 1; length <= 40; ++length)
    {
        race.mRun.insert(race.mRun.end(), length, length % 16);
    }
    race.mTime = static_cast<int>(race.mRun.size()) - 3;
    return race;
}

std::string Packed(const std::string& text)
{
    return RaceLink::mPrefix + Base64Url::Encode(LinkCodec::Pack(text));
}
} // namespace

TEST(RaceLink, ARunAndItsLevelComeBackUpdateForUpdate)
{
    RaceLink shipped = ShippedRace();
    shipped.mRules.mSpeed = 70;
    shipped.mRules.mAir = Assist::Air::Endless;
    RaceLink made = ShippedRace();
    made.mSet.clear();
    made.mFile.clear();
    made.mHash.clear();
    made.mLevel.emplace(24, 16);
    made.mLevel->SetCell(1, 3, 4, 0x102030);
    made.mLevel->mDescription = "Two rooms";
    for (const RaceLink& race : {shipped, made})
    {
        const std::string link = race.Pack();
        EXPECT_TRUE(RaceLink::IsRace("https://example.org/kestrovane/#" + link));
        const RaceLink back = RaceLink::Unpack("https://example.org/kestrovane/#" + link);
        EXPECT_EQ(race.mRun, back.mRun);
        EXPECT_EQ(race.mTime, back.mTime);
        EXPECT_EQ(race.Assisted(), back.Assisted());
        EXPECT_EQ(race.mRules.mSpeed, back.mRules.mSpeed);
        EXPECT_EQ(race.mRules.mAir, back.mRules.mAir);
        EXPECT_EQ(race.mFile, back.mFile);
        EXPECT_EQ(race.mHash, back.mHash);
        ASSERT_EQ(race.mLevel.has_value(), back.mLevel.has_value());
        if (race.mLevel)
        {
            EXPECT_EQ(race.mLevel->Layer(1), back.mLevel->Layer(1));
            EXPECT_EQ(race.mLevel->mDescription, back.mLevel->mDescription);
        }
        EXPECT_EQ(link, back.Pack());
    }
    EXPECT_FALSE(RaceLink::IsRace(LevelLink::Pack(LevelDocument())));
}

TEST(RaceLink, CutBloatedAndHostileRacesAreRefusedWithAMessage)
{
    RaceLink made = ShippedRace();
    made.mLevel.emplace();
    const std::string shipped = ShippedRace().Pack();
    const std::string withLevel = made.Pack();
    const std::string madeRun = withLevel.substr(0, withLevel.find('.', 5));
    const std::string header = "kestrovane-race 1\ntime 5\n";
    const struct
    {
        std::string link;
        std::string says;
    } cases[] = {
        {"#race.", "cut short"},
        {shipped.substr(0, shipped.size() / 2), "cut short"},
        {withLevel.substr(0, withLevel.size() - 40), "broken"},
        {madeRun, "its level is missing"},
        {madeRun + ".", "its level is missing"},
        {shipped + "." + LevelLink::Pack(LevelDocument()), "a level it does not name"},
        {Packed(header + "level maps level1.map 0123456789abcdef\n"), "cut short"},
        {Packed(header + "made\nrun R4\n"), "ends before its time"},
        {Packed(header + "level maps ../../kesv.cfg 0123456789abcdef\nrun R9\n"), "level is unreadable"},
        {Packed(header + "level maps level1.map 0123\nrun R9\n"), "level is unreadable"},
        {Packed(header + "assist 55 0 0\nmade\nrun R9\n"), "assists are unreadable"},
        {Packed(header + "made\nrun R9 X3\n"), "run is unreadable"},
        {Packed(header + "made\nrun R" + std::to_string(RaceLink::mMaxUpdates + 1) + "\n"),
         "at most 10 minutes"},
        {Packed("kestrovane-level 1\n"), "not a Kestrovane race"},
        {"race.*", "characters"},
    };
    for (const auto& bad : cases)
    {
        try
        {
            RaceLink::Unpack(bad.link);
            ADD_FAILURE() << "taken: " << bad.link.substr(0, 60);
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_NE(std::string(error.what()).find(bad.says), std::string::npos)
                << error.what() << " for " << bad.says;
        }
    }
}
