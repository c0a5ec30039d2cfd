#include "store/UnitValues.h"

#include "store/DaoDatabase.h"
#include "store/RecordsetCategory.h"
#include "store/RecordsetUnit.h"

UnitScale ScaleOf(const CRecordsetUnit& unit)
{
    return UnitScale{unit.m_FactorMul, unit.m_FactorAdd, unit.m_IsInvertResult};
}

void RecalculateUnitValues(double x, CRecordsetCategory& categories, CRecordsetUnit& units)
{
    if (units.GetRecordCount() == 0)
        return;
    const std::int32_t position = units.GetAbsolutePosition();
    const std::int32_t sourceUnitId = categories.m_SourceUnitId;
    // Only the category's own source converts its units: at start-up the two sets can stand
    // on different categories, and a damaged catalogue can name another category's unit.
    const bool found =
        units.FindUnit(sourceUnitId) && units.m_CategoryId == categories.m_CategoryId;
    if (found)
    {
        // One commit for all the values instead of one per unit: each commit costs file
        // locks and a log write. Every value is on disk when this returns, or none of them.
        CDaoTransaction transaction(units.GetDatabase());
        const UnitScale source = ScaleOf(units);
        for (units.MoveFirst(); !units.IsEOF(); units.MoveNext())
        {
            const double r =
                units.m_UnitId == sourceUnitId ? x : ConvertValue(x, source, ScaleOf(units));
            units.Edit();
            units.m_UserValue = r;
            units.Update();
        }
        transaction.CommitTrans();
    }
    if (position >= 0)
        units.SetAbsolutePosition(position);
}
