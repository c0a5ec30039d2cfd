#pragma once
// Category Properties: the name and the note of the category record set's current record,
// which the caller has put into edit mode and updates after OK.
#include "editing/SkinnedEditDlg.h"

#include "store/RecordsetCategory.h"

class CCategoryEditDlg : public CSkinnedEditDlg
{
public:
    explicit CCategoryEditDlg(CRecordsetCategory* pSet, CWnd* pParent = nullptr);

    CRecordsetCategory* m_pSet; // not owned

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
