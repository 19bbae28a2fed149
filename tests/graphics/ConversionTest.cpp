// Text to value and value to text with formatted-stream rules, as the data readers rely on them.
#include "graphics/Utils.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>

namespace
{
TEST(ConvertString, NumbersFollowStreamRules)
{
    // Leading blanks skipped, reading stops at the first character that cannot continue the number.
    EXPECT_EQ(Utils::ConvertString<int>(" \t\n-42abc", false), -42);
    EXPECT_EQ(Utils::ConvertString<int>("12abc", false), 12);
    EXPECT_EQ(Utils::ConvertString<int>("", false), 0);
    EXPECT_EQ(Utils::ConvertString<int>("abc12", false), 0);
    EXPECT_EQ(Utils::ConvertString<int>("99999999999", false), INT_MAX);
    EXPECT_EQ(Utils::ConvertString<int>("-99999999999", false), INT_MIN);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("-1", false), 4294967295u);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("4294967296", false), UINT_MAX);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("ff", true), 255u);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("0xff", true), 255u);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("0XFF00fF", true), 0xFF00FFu);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("ff", false), 0u);
    EXPECT_EQ(Utils::ConvertString<int>("1a", true), 26);
}

TEST(ConvertString, BoolIsAnyNonZeroNumber)
{
    for (const char* text : {"1", "2", "-1", " 1 trailing"})
    {
        EXPECT_TRUE(Utils::ConvertString<bool>(text, false)) << text;
    }
    for (const char* text : {"0", "", "true", "false"})
    {
        EXPECT_FALSE(Utils::ConvertString<bool>(text, false)) << text;
    }
    EXPECT_TRUE(Utils::ConvertString<bool>("a", true));
}

TEST(TruncateToInt, TowardZeroAndSaturatingBeyondTheIntRange)
{
    EXPECT_EQ(Utils::TruncateToInt(-2.7), -2);
    EXPECT_EQ(Utils::TruncateToInt(2147483646.9), 2147483646);
    EXPECT_EQ(Utils::TruncateToInt(2147483647.0 * 16), INT_MAX);
    EXPECT_EQ(Utils::TruncateToInt(-1e300), INT_MIN);
    EXPECT_EQ(Utils::TruncateToInt(-std::numeric_limits<double>::infinity()), INT_MIN);
    EXPECT_EQ(Utils::TruncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(ToString, DefaultStreamFormatting)
{
    const char* text = "Left";
    const char* none = nullptr;
    EXPECT_EQ(Utils::ToString(text), "Left");
    EXPECT_EQ(Utils::ToString(none), "");
    EXPECT_EQ(Utils::ToString(-17), "-17");
    EXPECT_EQ(Utils::ToString(4294967295u), "4294967295");
    EXPECT_EQ(Utils::ToString(59.95), "59.95");
    EXPECT_EQ(Utils::ToString(100.0), "100");
    EXPECT_EQ(Utils::ToString(1500000.5), "1.5e+06");
    EXPECT_EQ(Utils::ToString(123456.7), "123457");
    EXPECT_EQ(Utils::ToString(0.00001), "1e-05");
}
} // namespace
