#include "engine/Conversion.h"

double ConvertValue(double x, const UnitScale& source, const UnitScale& target)
{
    double r;
    if (source.factorAdd != 0.0 || target.factorAdd != 0.0)
        r = ((x - source.factorAdd) / source.factorMul) * target.factorMul + target.factorAdd;
    else if (source.isInvertResult)
        r = (target.factorMul * x) / source.factorMul;
    else
        r = (x / target.factorMul) * source.factorMul;
    if (source.isInvertResult != target.isInvertResult)
        r = 1.0 / r;
    return r;
}
