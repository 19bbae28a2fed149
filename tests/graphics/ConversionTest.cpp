// Text to value and value to text with formatted-stream rules, as the data readers rely on them.
#include "graphics/Utils.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace
{
TEST(ConvertString, IntReadsTheLeadingNumberOnly)
{
    EXPECT_EQ(Utils::ConvertString<int>("12abc", false), 12);
    EXPECT_EQ(Utils::ConvertString<int>(" \t\n-42", false), -42);
    EXPECT_EQ(Utils::ConvertString<int>("+7", false), 7);
    EXPECT_EQ(Utils::ConvertString<int>("3 4", false), 3);
    EXPECT_EQ(Utils::ConvertString<int>("", false), 0);
    EXPECT_EQ(Utils::ConvertString<int>("abc12", false), 0);
    EXPECT_EQ(Utils::ConvertString<int>("99999999999", false), INT_MAX);
    EXPECT_EQ(Utils::ConvertString<int>("-99999999999", false), INT_MIN);
}

TEST(ConvertString, UnsignedWrapsNegativesAndSaturates)
{
    EXPECT_EQ(Utils::ConvertString<unsigned int>("4000000000", false), 4000000000u);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("-1", false), 4294967295u);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("-5", false), 4294967291u);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("4294967296", false), UINT_MAX);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("x", false), 0u);
}

TEST(ConvertString, HexReadsEitherCaseWithOrWithoutPrefix)
{
    EXPECT_EQ(Utils::ConvertString<unsigned int>("ff", true), 255u);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("0xff", true), 255u);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("0XFF", true), 255u);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("FF00FF", true), 0xFF00FFu);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("ff", false), 0u);
    EXPECT_EQ(Utils::ConvertString<int>("1a", true), 26);
    EXPECT_EQ(Utils::ConvertString<unsigned int>("10", false), 10u);
}

TEST(ConvertString, BoolIsAnyNonZeroNumber)
{
    EXPECT_TRUE(Utils::ConvertString<bool>("1", false));
    EXPECT_TRUE(Utils::ConvertString<bool>("2", false));
    EXPECT_TRUE(Utils::ConvertString<bool>("-1", false));
    EXPECT_TRUE(Utils::ConvertString<bool>(" 1 trailing", false));
    EXPECT_TRUE(Utils::ConvertString<bool>("a", true));
    EXPECT_FALSE(Utils::ConvertString<bool>("0", false));
    EXPECT_FALSE(Utils::ConvertString<bool>("", false));
    EXPECT_FALSE(Utils::ConvertString<bool>("true", false));
    EXPECT_FALSE(Utils::ConvertString<bool>("false", false));
}

TEST(ToString, TextAndIntegers)
{
    const char* text = "Left";
    const char* none = nullptr;
    EXPECT_EQ(Utils::ToString(text), "Left");
    EXPECT_EQ(Utils::ToString(none), "");
    EXPECT_EQ(Utils::ToString(0), "0");
    EXPECT_EQ(Utils::ToString(-17), "-17");
    EXPECT_EQ(Utils::ToString(INT_MIN), "-2147483648");
    EXPECT_EQ(Utils::ToString(4294967295u), "4294967295");
}

TEST(ToString, DoublesUseSixSignificantDigits)
{
    EXPECT_EQ(Utils::ToString(59.95), "59.95");
    EXPECT_EQ(Utils::ToString(100.0), "100");
    EXPECT_EQ(Utils::ToString(12.5), "12.5");
    EXPECT_EQ(Utils::ToString(3.0), "3");
    EXPECT_EQ(Utils::ToString(1500000.5), "1.5e+06");
    EXPECT_EQ(Utils::ToString(123456.7), "123457");
    EXPECT_EQ(Utils::ToString(0.0001), "0.0001");
    EXPECT_EQ(Utils::ToString(0.00001), "1e-05");
    EXPECT_EQ(Utils::ToString(-2.25), "-2.25");
}
} // namespace
