#pragma once

#include "store/DaoRecordset.h"

#include <cstdint>
#include <string>

// The categories of units. The owner sets m_strSort (empty for table order, "CategoryName"
// or "CategoryName DESC") before Open or Requery.
class CRecordsetCategory : public CDaoRecordset
{
public:
    explicit CRecordsetCategory(CDaoDatabase* pDatabase);

    std::int32_t m_CategoryId = 0;
    std::wstring m_CategoryName;
    std::int32_t m_IconId = 1000;
    std::int32_t m_CurrentUnitId = 0;
    bool m_IsSelected = false;
    std::int32_t m_SourceUnitId = 0;
    std::int32_t m_TargetUnitId = 0;
    std::wstring m_Note;

    std::wstring GetDefaultDBName() override;
    std::wstring GetDefaultSQL() override;
    void DoFieldExchange(CDaoFieldExchange& fx) override;

    // Makes the current record the only selected one; it stays current.
    void MarkSelected();

    // Reports the first selected category and its row, or 2 and 2 when none is selected.
    // The current record is the same afterwards (the first one if the set was on none).
    void FindSelected(std::int32_t& nCategoryId, std::int32_t& nRow);
};
