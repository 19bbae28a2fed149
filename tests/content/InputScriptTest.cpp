// Recorded inputs, the shipped levels' proof of completion: the script words and the ".replay" files. The
// levels themselves are played through their inputs by the atlas check (tools/atlas).
#include "KeyInput.h"
#include "TestSupport.h"

#include "io/InputScript.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

TEST(ContentScripts, ParseAndFormatAreInverse)
{
    const std::vector<unsigned> updates = InputScript::Parse("R3 RJ2 -1 LF1");
    const std::vector<unsigned> expected = {test::kRight,
                                            test::kRight,
                                            test::kRight,
                                            test::kRight | test::kJump,
                                            test::kRight | test::kJump,
                                            0u,
                                            test::kLeft | test::kFire};
    EXPECT_EQ(expected, updates);
    EXPECT_EQ("R3 RJ2 -1 LF1", InputScript::Format(updates));
    EXPECT_THROW(InputScript::Parse("R"), std::runtime_error);
    EXPECT_THROW(InputScript::Parse("X4"), std::runtime_error);
    EXPECT_THROW(InputScript::Parse("R4x"), std::runtime_error);
    // A count that would not fit in memory is refused before anything is allocated.
    EXPECT_THROW(InputScript::Parse("R3 L99999999999999999999999"), std::runtime_error);
}

TEST(ContentScripts, ReplayFilesJoinTheirLinesAndNameTheFileWhenBad)
{
    test::TempDir folder(false);
    const std::string root = folder.Path().string() + "/";
    folder.WriteFile("good.replay", "// recorded for a test\nR2 RJ1\n  // indented note\n-1\r\nLF1\n");
    folder.WriteFile("bad.replay", "R2 X1\n");
    folder.WriteFile("empty.replay", "// only a comment\n\n");
    EXPECT_EQ(InputScript::Parse("R2 RJ1 -1 LF1"), InputScript::Load(root + "good.replay"));
    for (const char* name : {"bad.replay", "empty.replay", "missing.replay"})
    {
        try
        {
            InputScript::Load(root + name);
            ADD_FAILURE() << name << " was accepted";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_NE(std::string::npos, std::string(error.what()).find(root + name)) << error.what();
        }
    }
}
