#pragma once
// Unit Properties: name, factor, shift, invert flag and note of the unit record set's
// current record (the unit set or the result set), which the caller has put into edit mode
// and updates after OK. The category's name is shown read-only.
#include "editing/SkinnedEditDlg.h"

#include "store/RecordsetUnit.h"

#include <string>

class CUnitEditDlg : public CSkinnedEditDlg
{
public:
    CUnitEditDlg(CRecordsetUnit* pSet, const std::wstring& strCategory, CWnd* pParent = nullptr);

    CRecordsetUnit* m_pSet; // not owned
    std::wstring m_strCategory;

protected:
    // In this order; a number that does not read stops the save at its field.
    void DoDataExchange(CDataExchange& dx) override;
};
