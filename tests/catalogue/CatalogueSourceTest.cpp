#include "tools/catalogue/CatalogueSource.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
SourceUnit Unit(const std::string& factor, const std::string& shift = "0")
{
    return ParseCategorySource("category: T\nunit: u | " + factor + " | " + shift + " | source | n\n", "t.txt")
        .units.at(0);
}

double Factor(const std::string& text) { return Unit(text).factor; }

bool Rejected(const std::string& factor)
{
    try
    {
        Unit(factor);
        return false;
    }
    catch (const CatalogueSourceError&)
    {
        return true;
    }
}
} // namespace

TEST(FactorExpression, IsRoundedOnceFromTheExactValue)
{
    // Step by step in doubles these come out one unit in the last place too high.
    ASSERT_NE(0.1 * 3, 0.3);
    EXPECT_EQ(Factor("0.1 * 3"), 0.3);
    ASSERT_NE(0.1 * 0.2, 0.02);
    EXPECT_EQ(Factor("0.1 * 0.2"), 0.02);
    EXPECT_EQ(Factor("231 * 0.0254^3"), 0.003785411784);
    EXPECT_EQ(Factor("0.45359237 * 9.80665"), 4.4482216152605);
    // IEEE division of two exact integers is itself correctly rounded.
    EXPECT_EQ(Factor("1200 / 3937"), 1200.0 / 3937.0);
    EXPECT_EQ(Factor("1 / 3 * 3"), 1.0);
    EXPECT_EQ(Factor("1e-30 / 3"), 3.333333333333333333333333e-31);
    EXPECT_EQ(Factor("-459.67 * 5 / 9"), -255.3722222222222222222222);
}

TEST(FactorExpression, BreaksTiesToEven)
{
    // 2^53 + 1 and 2^53 + 3 lie halfway between two doubles.
    EXPECT_EQ(Factor("9007199254740993 * 1"), 9007199254740992.0);
    EXPECT_EQ(Factor("9007199254740995 * 1"), 9007199254740996.0);
    EXPECT_EQ(Factor("9007199254740993.000001 * 1"), 9007199254740994.0);
    EXPECT_EQ(Factor("9007199254740992.999999 * 1"), 9007199254740992.0);
}

TEST(FactorExpression, KnowsPowersAndPi)
{
    EXPECT_EQ(Factor("1024^8"), std::ldexp(1.0, 80));
    EXPECT_EQ(Factor("2^64 / 2^63"), 2.0);
    EXPECT_EQ(Factor("pi"), 3.141592653589793);
    EXPECT_EQ(Factor("180 / pi"), 57.29577951308232);
    EXPECT_EQ(Factor("pi * 0.5"), 3.141592653589793 / 2);
}

TEST(FactorExpression, ServesShiftsAndLeavesPlainNumbersAlone)
{
    EXPECT_EQ(Unit("1", "459.67 * 5 / 9").shift, 255.3722222222222222222222);
    EXPECT_EQ(Unit("1", "0 * 3").shift, 0.0);
    EXPECT_EQ(Factor("-273.15"), -273.15);
    EXPECT_EQ(Factor("1e-3"), 0.001);
    EXPECT_EQ(Factor("5."), 5.0);
}

TEST(FactorExpression, RejectsAnythingElse)
{
    for (const char* text : {"2 *", "* 2", "2 ** 3", "2 */ 3", "2 / 0", "2 / 0.0 * 1", "2^", "2^0.5",
                             "2^-1", "2^65", "2 ^ 3", "(2 * 3)", "2 x 3", "2pi", "pie", "pi^2", "--2 * 1",
                             "2 * -3", ".5 * 2", "5. * 2", "2e * 1", "1e400 * 1", "1e300 * 1e300",
                             "1e-200 * 1e-200", "0 * 5"})
        EXPECT_TRUE(Rejected(text)) << text;
}

TEST(FactorExpression, ErrorsNameTheFileAndLine)
{
    try
    {
        ParseCategorySource("category: T\n# comment\nunit: u | 1 / 0 | 0 | source | n\n", "t.txt");
        FAIL() << "accepted a division by zero";
    }
    catch (const CatalogueSourceError& e)
    {
        EXPECT_NE(std::string(e.what()).find("t.txt:3:"), std::string::npos) << e.what();
    }
}
