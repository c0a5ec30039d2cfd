#pragma once

#include "store/DaoRecordset.h"

#include <cstdint>
#include <string>

// The units of one category, sorted by name. The category is read through the pointer each
// time the query is built, so Open and Requery follow the owner's current category.
class CRecordsetUnit : public CDaoRecordset
{
public:
    CRecordsetUnit(CDaoDatabase* pDatabase, std::int32_t* pCategoryId);

    std::int32_t m_UnitId = 0;
    std::wstring m_UnitName;
    std::int32_t m_CategoryId = 0;
    double m_FactorMul = 0.0;
    double m_FactorAdd = 0.0;
    bool m_IsInvertResult = false;
    bool m_IsSelected = false;
    std::wstring m_Note;
    double m_UserValue = 1.0;

    // Also sets m_strFilter to the current category and m_strSort to the unit name.
    std::wstring GetDefaultSQL() override;
    void DoFieldExchange(CDaoFieldExchange& fx) override;
    void Open() override;
    void Requery() override;

    // Moves to the first unit with this id: true if found, else false and past the last.
    bool FindUnit(std::int32_t nUnitId);

protected:
    std::int32_t CurrentCategoryId() const;

private:
    std::int32_t* m_pCategoryId; // not owned
};
