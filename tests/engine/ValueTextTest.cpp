#include "engine/ValueText.h"

#include "tests/Checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{
std::wstring Lcd(double value) { return FormatValue(value, 20); }
} // namespace

TEST(FormatValue, PlainDecimalWithUpToSeventeenDigits)
{
    EXPECT_EQ(Lcd(2000), L"2000");
    EXPECT_EQ(Lcd(-0.25), L"-0.25");
    // Seventeen digits show what the double holds: 0.05 is a little above 0.05.
    EXPECT_EQ(Lcd(0.05), L"0.050000000000000003");
    EXPECT_EQ(Lcd(0.5), L"0.5");
    EXPECT_EQ(Lcd(0), L"0");
    EXPECT_EQ(Lcd(2.54), L"2.54");
    EXPECT_EQ(Lcd(-3), L"-3");
    EXPECT_EQ(Lcd(-7), L"-7");
    EXPECT_EQ(Lcd(0.001), L"0.001");
    EXPECT_EQ(Lcd(0.1), L"0.10000000000000001");
    EXPECT_EQ(Lcd(1.0 / 3.0), L"0.33333333333333331");
    EXPECT_EQ(Lcd(123456789012345678.0 / 10), L"12345678901234568");
}

TEST(FormatValue, IntegerPartOfTheFullWidthReadsZero)
{
    EXPECT_EQ(Lcd(1e17), L"0");
    EXPECT_EQ(Lcd(-2.5e18), L"0");
    EXPECT_EQ(Lcd(std::numeric_limits<double>::max()), L"0");
    EXPECT_EQ(Lcd(99999999999999984.0), L"99999999999999984");
    // The wider text used for tooltips and the clipboard holds far larger values.
    EXPECT_EQ(FormatValue(1e17, 64), L"100000000000000000");
    EXPECT_EQ(FormatValue(6.02214076e23, 64), L"602214075999999990000000");
    // The double nearest 1e61 lies just below it: 61 integer digits, which still fit.
    EXPECT_EQ(FormatValue(1e61, 64), L"9999999999999999500000000000000000000000000000000000000000000");
    EXPECT_EQ(FormatValue(1e62, 64), L"0");
}

TEST(FormatValue, SmallValuesKeepEveryLeadingZero)
{
    EXPECT_EQ(Lcd(1e-7), L"0.000000099999999999999995");
    EXPECT_EQ(Lcd(0.0001), L"0.0001");
    EXPECT_EQ(Lcd(-1.5e-10), L"-0.00000000015");
    const std::wstring tiny = Lcd(std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(tiny.substr(0, 6), L"0.0000");
    EXPECT_EQ(tiny.size(), 2 + 323 + 17u) << "323 zeros, then 17 digits of 4.94...e-324";
    EXPECT_EQ(tiny.substr(tiny.size() - 17), L"49406564584124654");
    const std::wstring smallest = Lcd(std::numeric_limits<double>::min());
    EXPECT_EQ(smallest.substr(smallest.size() - 17), L"22250738585072014");
}

TEST(FormatValue, NonFiniteValuesReadAsInTheLists)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatValue(inf, 64), L"inf");
    EXPECT_EQ(FormatValue(-inf, 20), L"-inf");
    EXPECT_EQ(FormatValue(std::nan(""), 64), L"nan");
    double v = 0;
    EXPECT_FALSE(ParseNumber(FormatValue(inf, 64), v)) << "a pasted infinity is no number";
}

TEST(ParseNumber, ReadsWhatADecimalReaderReads)
{
    double v = -1;
    EXPECT_TRUE(ParseNumber(L"12.5", v));
    EXPECT_EQ(v, 12.5);
    EXPECT_TRUE(ParseNumber(L"  \t7", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(ParseNumber(L"-0.25xyz", v));
    EXPECT_EQ(v, -0.25);
    EXPECT_TRUE(ParseNumber(L"+3", v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(ParseNumber(L"1e5", v));
    EXPECT_EQ(v, 1e5);
    EXPECT_TRUE(ParseNumber(L"2.5E-3", v));
    EXPECT_EQ(v, 0.0025);
    EXPECT_TRUE(ParseNumber(L"1e", v)) << "an exponent without digits is not read";
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(ParseNumber(L".5", v));
    EXPECT_EQ(v, 0.5);
    EXPECT_TRUE(ParseNumber(L"5.", v));
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(ParseNumber(L"12,5", v)) << "the comma is never a decimal point";
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(ParseNumber(L"-0", v));
    EXPECT_TRUE(SameBits(v, -0.0));
    EXPECT_TRUE(ParseNumber(L"0.1", v));
    EXPECT_TRUE(SameBits(v, 0.1)) << "correctly rounded";
}

TEST(ParseNumber, TextWithoutDigitsIsNoNumber)
{
    for (const wchar_t* text : {L"", L"   ", L"abc", L"-", L"+.", L".", L"e5", L"- 5"})
    {
        double v = 99;
        EXPECT_FALSE(ParseNumber(text, v)) << "'" << std::wstring(text).size() << "'";
        EXPECT_EQ(v, 0.0);
    }
}

TEST(ParseNumber, RefusesWordsAndHexThatCRuntimesAccept)
{
    double v = 99;
    EXPECT_FALSE(ParseNumber(L"inf", v));
    EXPECT_FALSE(ParseNumber(L"nan", v));
    EXPECT_FALSE(ParseNumber(L"-Infinity", v));
    EXPECT_TRUE(ParseNumber(L"0x10", v));
    EXPECT_EQ(v, 0) << "reads the 0 before the x, never hex";
}

TEST(ParseNumber, OutOfRangeGivesInfinityOrZero)
{
    double v = 0;
    EXPECT_TRUE(ParseNumber(L"1e999", v));
    EXPECT_EQ(v, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(ParseNumber(L"-123456e400", v));
    EXPECT_EQ(v, -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(ParseNumber(L"10e99999999999999999999", v)) << "an exponent past any integer";
    EXPECT_EQ(v, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(ParseNumber(L"0.5e-99999999999999999999", v));
    EXPECT_EQ(v, 0.0);
    EXPECT_TRUE(ParseNumber(L"0.000001e-400", v));
    EXPECT_EQ(v, 0.0);
    EXPECT_TRUE(ParseNumber(L"4.9406564584124654e-324", v));
    EXPECT_EQ(v, std::numeric_limits<double>::denorm_min());
    EXPECT_TRUE(ParseNumber(L"1.7976931348623157e308", v));
    EXPECT_EQ(v, std::numeric_limits<double>::max());
}

TEST(ParseNumber, FormattedValuesReadBackExactly)
{
    for (double value : {0.1, 2.54, -1.0 / 3.0, 1e-7, 98765.4321, 1e16 + 2})
    {
        double v = 0;
        ASSERT_TRUE(ParseNumber(FormatValue(value, 64), v));
        EXPECT_TRUE(SameBits(v, value)) << value;
    }
}
