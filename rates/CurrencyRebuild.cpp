#include "rates/CurrencyRebuild.h"

#include "store/Catalogue.h"

namespace
{
void DeleteEveryUnit(CRecordsetUnit& units)
{
    if (units.GetRecordCount() == 0)
        return;
    for (units.MoveFirst(); !units.IsEOF(); units.MoveNext())
        units.Delete();
}

// Adds the unit and returns its id.
std::int32_t AddCurrencyUnit(CRecordsetUnit& units, const CurrencyRate& currency)
{
    units.AddNew();
    units.m_UnitName = currency.unitName;
    units.m_CategoryId = kCurrencyCategoryId;
    units.m_FactorMul = currency.rate;
    units.m_FactorAdd = 0.0;
    units.m_IsInvertResult = true;
    units.m_IsSelected = currency.isSelected;
    units.m_Note = currency.note;
    units.m_UserValue = 1.0;
    units.Update();
    units.MoveLast();
    return units.m_UnitId;
}
} // namespace

bool RebuildCurrencyCategory(CCatalogue& catalogue, const RatesScan& scan)
{
    if (catalogue.CategoryId() != kCurrencyCategoryId || !IsUsableForRebuild(scan))
        return false;
    CDaoTransaction transaction(catalogue.Database());
    // The unit set shows the currency category; the category set must stand on it too,
    // or another category would be renamed.
    CRecordsetCategory& categories = catalogue.Categories();
    if (!catalogue.MoveToCategory(kCurrencyCategoryId))
        return false;
    CRecordsetUnit& units = catalogue.Units();
    DeleteEveryUnit(units);

    std::int32_t nEuroId = 0;
    std::int32_t nDollarId = 0;
    for (const CurrencyRate& currency : scan.currencies)
    {
        const std::int32_t nUnitId = AddCurrencyUnit(units, currency);
        if (currency.code == L"EUR" && nEuroId == 0)
            nEuroId = nUnitId;
        if (currency.code == L"USD" && nDollarId == 0)
            nDollarId = nUnitId;
    }

    // The euro is always there (the scan puts it first); a document without the dollar
    // leaves the euro current, so that no id names a deleted unit.
    const std::int32_t nCurrentId = nDollarId != 0 ? nDollarId : nEuroId;
    categories.Edit();
    categories.m_CategoryName = CurrencyCategoryName(scan.date);
    categories.m_Note = CurrencyCategoryNote(scan.date);
    categories.m_SourceUnitId = nEuroId;
    categories.m_CurrentUnitId = nCurrentId;
    categories.m_TargetUnitId = nCurrentId;
    categories.Update();
    transaction.CommitTrans();
    return true;
}
