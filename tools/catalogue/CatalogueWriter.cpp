#include "tools/catalogue/CatalogueWriter.h"

#include "store/UnitValues.h"

#include "store/CatalogueSchema.h"
#include "store/DaoDatabase.h"
#include "store/RecordsetCategory.h"
#include "store/RecordsetUnit.h"

namespace
{
// Adds a unit and returns the key the engine gave it.
std::int32_t AddUnit(CRecordsetUnit& units, std::int32_t categoryId, const SourceUnit& source)
{
    units.AddNew();
    units.m_UnitName = source.name;
    units.m_CategoryId = categoryId;
    units.m_FactorMul = source.factor;
    units.m_FactorAdd = source.shift;
    units.m_IsInvertResult = source.isInvert;
    units.m_IsSelected = source.isShown;
    units.m_Note = source.note;
    units.Update();
    units.MoveLast();
    return units.m_UnitId;
}

void WriteCategory(CDaoDatabase& database, CRecordsetCategory& categories,
                   const SourceCategory& source)
{
    categories.AddNew();
    categories.m_CategoryName = source.name;
    categories.m_IconId = source.iconId;
    categories.m_IsSelected = source.isSelected;
    categories.m_Note = source.note;
    categories.Update();
    categories.MoveLast();

    std::int32_t categoryId = categories.m_CategoryId;
    CRecordsetUnit units(&database, &categoryId);
    units.Open();
    std::int32_t sourceId = 0, currentId = 0, targetId = 0;
    for (const auto& unit : source.units)
    {
        const std::int32_t id = AddUnit(units, categoryId, unit);
        if (unit.isSource)
            sourceId = id;
        if (unit.isCurrent)
            currentId = id;
        if (unit.isTarget)
            targetId = id;
    }
    categories.Edit();
    categories.m_SourceUnitId = sourceId;
    categories.m_CurrentUnitId = currentId != 0 ? currentId : sourceId;
    categories.m_TargetUnitId = targetId != 0 ? targetId : sourceId;
    categories.Update();
    // One of the source unit, converted into every unit, as the program itself stores it.
    RecalculateUnitValues(1.0, categories, units);
    units.Close();
}
} // namespace

void WriteCatalogue(const std::wstring& path, const std::vector<SourceCategory>& categories)
{
    CreateCatalogue(path);
    CDaoDatabase database;
    database.Open(path);
    CRecordsetCategory categorySet(&database);
    categorySet.Open();
    for (const auto& category : categories)
        WriteCategory(database, categorySet, category);
    categorySet.Close();
    database.Close();
}
