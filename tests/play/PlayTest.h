// The fixture of the play tests: tiny rooms written into a temporary folder and a game begun on them.
#pragma once

#include "PlayFixtures.h"
#include "WorldFixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class PlayTest : public ::testing::Test
{
  protected:
    // A closed 20 x 15 room (exactly one screen, so the camera stays at 0, 0): walls in columns 0 and 19,
    // the floor's top at row 12 (y 192). A player standing on it has y 176.
    static std::vector<std::string> Room();
    // A level named name with the room (or the given rows) and the placement text.
    static test::LevelFiles Level(const std::string& name, const std::string& placement,
                                  std::vector<std::string> rows = Room());

    // Writes the levels and the play data with a level list naming them in order (or `list`), sets up
    // the game and begins play. Returns Init's result.
    bool Begin(const std::vector<test::LevelFiles>& levels, const std::vector<std::string>& list = {});
    // Begin on one level, then the fade-in, so the world runs in plain play.
    void BeginPlaying(const test::LevelFiles& level);

    // Puts the player at a position with no motion, standing on nothing in particular.
    void PlacePlayer(double x, double y);
    // The first entity of a registry ("Enemy", "Item", "Entity") under a type name.
    Entity* Find(const std::string& baseType, const std::string& type);
    int Count(const std::string& baseType, const std::string& type);
    // Updates until the player stands on something (at most limit); false if it never does.
    bool TickUntilGrounded(int limit = 60);

    test::PlayHarness& H() { return *mHarness; }
    PlayState& P() { return mHarness->Play(); }
    Player& Pl() { return mHarness->ThePlayer(); }
    Map& M() { return mHarness->TheMap(); }
    Game* G() { return &mHarness->mGame; }

    test::TempDir mDir;
    // Begin sets play among every screen of the game rather than idle stand-ins.
    bool mAllScreens = false;
    std::unique_ptr<test::PlayHarness> mHarness;
};
