#include "engine/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <limits>

TEST(FormatGeneral, SixDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(FormatLg(0.0254), L"0.0254");
    EXPECT_EQ(FormatLg(1000.0), L"1000");
    EXPECT_EQ(FormatLg(1.0 / 3.0), L"0.333333");
    EXPECT_EQ(FormatLg(-2.5), L"-2.5");
    EXPECT_EQ(FormatLg(123456.0), L"123456");
    EXPECT_EQ(FormatLg(0.0001), L"0.0001");
    EXPECT_EQ(FormatLg(0.0), L"0");
    EXPECT_EQ(FormatLg(-0.0), L"-0");
}

TEST(FormatGeneral, ExponentFormHasSignAndThreeDigits)
{
    EXPECT_EQ(FormatLg(1e-7), L"1e-007");
    EXPECT_EQ(FormatLg(1234567.0), L"1.23457e+006");
    EXPECT_EQ(FormatLg(0.00001234), L"1.234e-005");
    EXPECT_EQ(FormatLg(1e300), L"1e+300");
    EXPECT_EQ(FormatLg(-6.02214076e23), L"-6.02214e+023");
}

TEST(FormatGeneral, RoundingThatCarriesIntoTheExponentSwitchesForm)
{
    // 999999.5 rounds to 1e+006 at six digits, so C switches to the exponent form.
    EXPECT_EQ(FormatLg(999999.5), L"1e+006");
    EXPECT_EQ(FormatLg(0.000099999996), L"0.0001");
    EXPECT_EQ(FormatGeneral(9.96, 2), L"10");
    EXPECT_EQ(FormatGeneral(99.6, 2), L"1e+002");
}

TEST(FormatGeneral, PrecisionArgument)
{
    EXPECT_EQ(FormatGeneral(0.1, 17), L"0.10000000000000001");
    EXPECT_EQ(FormatGeneral(2.0 / 3.0, 3), L"0.667");
    EXPECT_EQ(FormatGeneral(5.0, 0), L"5");
}

TEST(FormatGeneral, NonFiniteValues)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatLg(inf), L"inf");
    EXPECT_EQ(FormatLg(-inf), L"-inf");
    EXPECT_EQ(FormatLg(std::numeric_limits<double>::quiet_NaN()), L"nan");
    EXPECT_EQ(FormatLg(-std::numeric_limits<double>::quiet_NaN()), L"nan");
}

// C's own %g (correctly rounded on glibc, the host build), with its exponent widened to the
// three digits the classic Windows runtime wrote, must agree with ours everywhere.
TEST(FormatGeneral, AgreesWithTheCRuntimeOverManyValues)
{
#if defined(__GLIBC__)
    auto widenExponent = [](std::string text) {
        const auto e = text.find('e');
        if (e != std::string::npos && text.size() - e == 4) // e+XX
            text.insert(e + 2, "0");
        return std::wstring(text.begin(), text.end());
    };
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 20000; ++i)
    {
        double value;
        const std::uint64_t bits = next();
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        if (i % 2 == 0) // also plenty of everyday magnitudes
            value = std::ldexp(static_cast<double>(bits % 1000000007), static_cast<int>(bits % 60) - 40);
        const int precision = 1 + static_cast<int>(bits % 17);
        char expected[512];
        std::snprintf(expected, sizeof expected, "%.*g", precision, value);
        ASSERT_EQ(FormatGeneral(value, precision), widenExponent(expected)) << expected;
    }
#else
    GTEST_SKIP() << "compares against glibc's printf";
#endif
}
