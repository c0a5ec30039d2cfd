#include "engine/Conversion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr UnitScale Plain(double factor) { return UnitScale{factor, 0.0, false}; }
constexpr UnitScale Shifted(double factor, double shift) { return UnitScale{factor, shift, false}; }
constexpr UnitScale Inverted(double factor) { return UnitScale{factor, 0.0, true}; }
} // namespace

TEST(ConvertValue, PlainFormDividesByTheTargetFactor)
{
    EXPECT_EQ(ConvertValue(2, Plain(1000), Plain(1)), 2000);
    EXPECT_EQ(ConvertValue(2000, Plain(1), Plain(1000)), 2);
    EXPECT_EQ(ConvertValue(7.25, Plain(1), Plain(1)), 7.25);
    EXPECT_EQ(ConvertValue(1, Plain(0.0254), Plain(0.3048)), (1 / 0.3048) * 0.0254);
}

TEST(ConvertValue, AShiftOnEitherSideSwitchesToTheShiftForm)
{
    EXPECT_EQ(ConvertValue(100, Shifted(1, 0), Shifted(1.8, 32)), 212);
    EXPECT_EQ(ConvertValue(0, Shifted(1, 0), Shifted(1.8, 32)), 32);
    EXPECT_EQ(ConvertValue(212, Shifted(1.8, 32), Shifted(1, 0)), 100);
    // Only the source shifted: the factors are read the shift form's way.
    EXPECT_EQ(ConvertValue(10, Shifted(2, 4), Plain(1)), 3);
}

TEST(ConvertValue, InversionTakesTheReciprocalWhenOneSideIsInverted)
{
    EXPECT_EQ(ConvertValue(4, Inverted(100), Plain(1)), 25);
    EXPECT_EQ(ConvertValue(4, Plain(1), Inverted(100)), 1.0 / (4.0 / 100.0));
    // Both inverted: the proportional result (Mt * x) / Ms, no reciprocal.
    EXPECT_EQ(ConvertValue(2, Inverted(1), Inverted(1.1415)), 1.1415 * 2);
}

TEST(ConvertValue, ZeroFactorsGiveNonFiniteValues)
{
    EXPECT_TRUE(std::isinf(ConvertValue(1, Plain(1), Plain(0))));
    EXPECT_TRUE(std::isnan(ConvertValue(0, Plain(0), Plain(0))));
}
