#pragma once
// The conversion between two units of a category.
//
// Plain form (no shift on either side): a unit's factor is its size in the category's
// base unit. Shift form (a shift on either side): a value in a unit is base * factor +
// shift. An inverted unit measures the reciprocal of a proportional quantity.
struct UnitScale
{
    double factorMul;
    double factorAdd;
    bool isInvertResult;
};

// Field by field, bit for bit but for the sign of zero; a NaN factor never equals itself.
inline bool operator==(const UnitScale& a, const UnitScale& b)
{
    return a.factorMul == b.factorMul && a.factorAdd == b.factorAdd &&
           a.isInvertResult == b.isInvertResult;
}
inline bool operator!=(const UnitScale& a, const UnitScale& b)
{
    return !(a == b);
}

// The value x given in `source`, expressed in `target`. IEEE double arithmetic in the
// order written; a zero factor yields an infinity or NaN, which is the honest answer.
double ConvertValue(double x, const UnitScale& source, const UnitScale& target);
