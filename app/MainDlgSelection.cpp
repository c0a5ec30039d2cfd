// What selections and list commands do: every choice is written to the catalogue at once.
#include "app/MainDlg.h"

#include "engine/NumberText.h"
#include "engine/ValueText.h"

#include "framework/Clipboard.h"

namespace
{
constexpr int kClipboardWidth = 64;

// Selection notifications arrive for the row that loses the selection as well as for the
// one that gains it, and for focus changes; only a gained selection changes anything.
bool GainsSelection(const NMHDR* pNMHDR)
{
    const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    return (pChange->uChanged & LVIF_STATE) && (pChange->uNewState & LVIS_SELECTED) &&
           !(pChange->uOldState & LVIS_SELECTED);
}
} // namespace

int CMainDlg::FirstSelectedRow(CListCtrl& list) const
{
    return list.GetNextItem(-1, LVNI_SELECTED);
}

bool CMainDlg::MoveToSelectedRow(CListCtrl& list, CDaoRecordset& recordset)
{
    const int nRow = FirstSelectedRow(list);
    if (nRow < 0)
        return false;
    recordset.SetAbsolutePosition(static_cast<std::int32_t>(list.GetItemData(nRow)));
    return true;
}

void CMainDlg::ShowSelectedCategory()
{
    CRecordsetCategory& categories = *m_pCategorySet;
    if (!MoveToSelectedRow(m_listCategory, categories))
        return;
    categories.MarkSelected();
    m_nCategoryId = categories.m_CategoryId;
    SetWindowText(L"Kalvo - " + categories.m_CategoryName);
    FillList(m_listUnits);

    CRecordsetUnit& units = *m_pUnitSet;
    if (units.GetRecordCount() == 0)
    {
        std::wstring strDescription = categories.m_CategoryName;
        if (!categories.m_Note.empty())
            strDescription += L": \"" + categories.m_Note + L"\"";
        SetStatusText(strDescription);
    }
    double dValue = 0.0;
    if (units.GetRecordCount() > 0)
    {
        const std::int32_t nPosition = units.GetAbsolutePosition();
        if (units.FindUnit(categories.m_SourceUnitId))
            dValue = units.m_UserValue;
        if (nPosition >= 0)
            units.SetAbsolutePosition(nPosition);
    }
    m_ValueEntry.SetValue(dValue);
    ApplyValue();
    // Only now: the restored value has just been converted into every unit, and the values
    // stored before may be stale (a catalogue written elsewhere, a factor edited since).
    FillList(m_listResult);
}

void CMainDlg::ShowSelectedUnit()
{
    ShowSelectedUnitRow(m_listUnits, *m_pUnitSet, &CRecordsetCategory::m_CurrentUnitId);
}

void CMainDlg::ShowSelectedResult()
{
    ShowSelectedUnitRow(m_listResult, *m_pResultSet, &CRecordsetCategory::m_TargetUnitId);
}

// The category remembers the unit chosen in each list; the status line describes it.
void CMainDlg::ShowSelectedUnitRow(CListCtrl& list, CRecordsetUnit& units,
                                   std::int32_t CRecordsetCategory::*pChoice)
{
    if (!MoveToSelectedRow(list, units))
        return;
    m_pCategorySet->Edit();
    (*m_pCategorySet).*pChoice = units.m_UnitId;
    m_pCategorySet->Update();
    SetStatusText(DescribeUnit(units));
}

// Hidden while it changes, so the transparent field repaints over the background.
void CMainDlg::SetStatusText(const std::wstring& strText)
{
    if (m_editStatus.GetWindowText() == strText)
        return;
    m_editStatus.ShowWindow(SW_HIDE);
    m_editStatus.SetWindowText(strText);
    m_editStatus.ShowWindow(SW_SHOW);
}

std::wstring CMainDlg::DescribeUnit(const CRecordsetUnit& unit) const
{
    std::wstring strText = unit.m_UnitName + L": " + FormatLg(unit.m_FactorMul);
    if (unit.m_FactorAdd != 0.0)
        strText += L", shift " + FormatLg(unit.m_FactorAdd);
    if (unit.m_IsInvertResult)
        strText += L", Invert";
    if (!unit.m_Note.empty())
        strText += L"   \"" + unit.m_Note + L"\"";
    return strText;
}

void CMainDlg::SetCategorySort(int nMode)
{
    m_strCategorySort = nMode == 1 ? L"CategoryName" : nMode == 2 ? L"CategoryName DESC" : L"";
    m_pCategorySet->m_strSort = m_strCategorySort;
    m_pCategorySet->Requery();
    FillList(m_listCategory);
}

void CMainDlg::OnSortChoice()
{
    CComboBox sortChoice;
    sortChoice.Attach(GetDlgItemHwnd(IDC_SORT_CHOICE));
    const int nChoice = sortChoice.GetCurSel();
    sortChoice.Detach();
    SetCategorySort(nChoice);
}

void CMainDlg::OnCategoryChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (GainsSelection(pNMHDR))
        ShowSelectedCategory();
    *pResult = 0;
}

void CMainDlg::OnCategoryStateChanged(NMHDR*, LRESULT* pResult)
{
    ShowSelectedCategory();
    *pResult = 0;
}

void CMainDlg::OnUnitChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (GainsSelection(pNMHDR))
        ShowSelectedUnit();
    *pResult = 0;
}

// Enter or a double click on a list without rows has nothing to act on: the record set
// holds no unit, or the one it loaded last for another category.
void CMainDlg::OnUnitActivated(NMHDR*, LRESULT* pResult)
{
    if (m_listUnits.GetItemCount() > 0)
        OnShowInResult();
    *pResult = 0;
}

void CMainDlg::OnResultChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (GainsSelection(pNMHDR))
        ShowSelectedResult();
    *pResult = 0;
}

void CMainDlg::OnResultDoubleClick(NMHDR*, LRESULT* pResult)
{
    if (m_listResult.GetItemCount() > 0)
        OnResultSetAsSource();
    *pResult = 0;
}

void CMainDlg::OnShowInResult()
{
    m_pUnitSet->Edit();
    m_pUnitSet->m_IsSelected = true;
    m_pUnitSet->Update();
    FillList(m_listResult);
}

void CMainDlg::SetAsSource(CRecordsetUnit& recordset)
{
    m_pCategorySet->Edit();
    m_pCategorySet->m_SourceUnitId = recordset.m_UnitId;
    m_pCategorySet->Update();
    m_ValueEntry.SetValue(recordset.m_UserValue);
    ApplyValue();
    FillList(m_listResult);
}

void CMainDlg::OnUnitSetAsSource() { SetAsSource(*m_pUnitSet); }

void CMainDlg::OnResultSetAsSource() { SetAsSource(*m_pResultSet); }

// The next row becomes the target; after the last row, the one before it.
void CMainDlg::OnResultHide()
{
    CRecordsetResult& results = *m_pResultSet;
    results.Edit();
    results.m_IsSelected = false;
    results.Update();
    results.MoveNext();
    if (results.IsEOF())
    {
        results.MovePrev();
        results.MovePrev();
    }
    if (!results.IsBOF() && !results.IsEOF())
    {
        m_pCategorySet->Edit();
        m_pCategorySet->m_TargetUnitId = results.m_UnitId;
        m_pCategorySet->Update();
    }
    FillList(m_listResult);
}

void CMainDlg::OnResultCopyValue()
{
    FocusControl(IDC_EDIT_UNIT);
    CopyTextToClipboard(m_hWnd, FormatValue(m_pResultSet->m_UserValue, kClipboardWidth));
}

// The currency category's menu offers the rates update instead of deletion.
UINT CMainDlg::GetCategoryMenuId()
{
    const bool bCurrency = m_pCategorySet && m_pCategorySet->GetAbsolutePosition() >= 0 &&
                           m_pCategorySet->m_CategoryId == 1;
    return bCurrency ? IDM_CURRENCY_POPUP : IDM_CATEGORY_POPUP;
}
