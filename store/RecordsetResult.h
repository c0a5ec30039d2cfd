#pragma once

#include "store/RecordsetUnit.h"

// The units of the current category that are marked for the result list.
class CRecordsetResult : public CRecordsetUnit
{
public:
    CRecordsetResult(CDaoDatabase* pDatabase, std::int32_t* pCategoryId);

    std::wstring GetDefaultSQL() override;
};
