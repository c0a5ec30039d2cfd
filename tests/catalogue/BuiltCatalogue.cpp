#include "BuiltCatalogue.h"

#include "tests/store/StoreTestSupport.h"

#include "store/DaoDatabase.h"
#include "store/RecordsetCategory.h"
#include "store/RecordsetUnit.h"
#include "store/Utf8.h"

#include <algorithm>

namespace
{
std::vector<CatalogueCategory> Load()
{
    TempDir dir;
    const std::wstring copy = dir.File(L"Kalvo.mdb");
    WriteBytes(copy, ReadBytes(FromUtf8(KALVO_CATALOGUE)));

    std::vector<CatalogueCategory> result;
    CDaoDatabase database;
    database.Open(copy);
    CRecordsetCategory categories(&database);
    categories.Open();
    for (; !categories.IsEOF(); categories.MoveNext())
    {
        CatalogueCategory category;
        category.id = categories.m_CategoryId;
        category.name = categories.m_CategoryName;
        category.iconId = categories.m_IconId;
        category.isSelected = categories.m_IsSelected;
        category.sourceUnitId = categories.m_SourceUnitId;
        category.currentUnitId = categories.m_CurrentUnitId;
        category.targetUnitId = categories.m_TargetUnitId;
        category.note = categories.m_Note;
        std::int32_t categoryId = category.id;
        CRecordsetUnit units(&database, &categoryId);
        units.Open();
        for (; !units.IsEOF(); units.MoveNext())
            category.units.push_back(CatalogueUnit{
                units.m_UnitId, units.m_UnitName,
                UnitScale{units.m_FactorMul, units.m_FactorAdd, units.m_IsInvertResult},
                units.m_IsSelected, units.m_Note, units.m_UserValue});
        units.Close();
        std::sort(category.units.begin(), category.units.end(),
                  [](const CatalogueUnit& a, const CatalogueUnit& b) { return a.id < b.id; });
        result.push_back(std::move(category));
    }
    database.Close();
    return result;
}
} // namespace

const std::vector<CatalogueCategory>& BuiltCatalogue()
{
    static const std::vector<CatalogueCategory> catalogue = Load();
    return catalogue;
}

const CatalogueCategory* FindCategory(const std::string& name)
{
    const std::wstring wide = FromUtf8(name);
    for (const auto& category : BuiltCatalogue())
        if (category.name == wide)
            return &category;
    return nullptr;
}

const CatalogueUnit* FindUnit(const CatalogueCategory& category, const std::string& name)
{
    const std::wstring wide = FromUtf8(name);
    for (const auto& unit : category.units)
        if (unit.name == wide)
            return &unit;
    return nullptr;
}

const CatalogueUnit* FindUnit(const CatalogueCategory& category, std::int32_t unitId)
{
    for (const auto& unit : category.units)
        if (unit.id == unitId)
            return &unit;
    return nullptr;
}
