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
    CRecordsetCategory& categories = m_catalogue.Categories();
    if (!MoveToSelectedRow(m_listCategory, categories))
        return;
    RunCatalogueCommand(kNoList, [this] { m_catalogue.SelectCategory(); });
    SetWindowText(L"Kalvo - " + categories.m_CategoryName);
    FillUnitList();
    if (m_catalogue.Units().GetRecordCount() == 0)
        SetStatusText(DescribeCategory(categories));
    m_ValueEntry.SetValue(m_catalogue.SourceValue());
    ApplyValue();
    // Only now: the restored value has just been converted into every unit, and the values
    // stored before may be stale (a catalogue written elsewhere, a factor edited since).
    FillResultList();
}

void CMainDlg::ShowSelectedUnit()
{
    if (!MoveToSelectedRow(m_listUnits, m_catalogue.Units()))
        return;
    RunCatalogueCommand(kNoList, [this] { m_catalogue.ChooseCurrentUnit(); });
    SetStatusText(DescribeUnit(m_catalogue.Units()));
}

void CMainDlg::ShowSelectedResult()
{
    if (!MoveToSelectedRow(m_listResult, m_catalogue.Results()))
        return;
    RunCatalogueCommand(kNoList, [this] { m_catalogue.ChooseTargetUnit(); });
    SetStatusText(DescribeUnit(m_catalogue.Results()));
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

std::wstring CMainDlg::DescribeCategory(const CRecordsetCategory& category) const
{
    std::wstring strDescription = category.m_CategoryName;
    if (!category.m_Note.empty())
        strDescription += L": \"" + category.m_Note + L"\"";
    return strDescription;
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
    m_catalogue.SortCategories(nMode);
    FillCategoryList();
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
    RunCatalogueCommand(kResultList, [this] { m_catalogue.ShowUnitInResult(); });
    FillResultList();
}

void CMainDlg::SetAsSource(CRecordsetUnit& recordset)
{
    RunCatalogueCommand(kResultList, [&] { m_catalogue.SetSourceUnit(recordset); });
    m_ValueEntry.SetValue(recordset.m_UserValue);
    ApplyValue();
    FillResultList();
}

void CMainDlg::OnUnitSetAsSource() { SetAsSource(m_catalogue.Units()); }

void CMainDlg::OnResultSetAsSource() { SetAsSource(m_catalogue.Results()); }

void CMainDlg::OnResultHide()
{
    RunCatalogueCommand(kResultList, [this] { m_catalogue.HideResult(); });
    FillResultList();
}

void CMainDlg::OnResultCopyValue()
{
    FocusControl(IDC_EDIT_UNIT);
    CopyTextToClipboard(m_hWnd, FormatValue(m_catalogue.Results().m_UserValue, kClipboardWidth));
}

// The currency category's menu offers the rates update instead of deletion.
UINT CMainDlg::GetCategoryMenuId()
{
    return m_catalogue.OnCurrencyCategory() ? IDM_CURRENCY_POPUP : IDM_CATEGORY_POPUP;
}
