// Creating, editing and deleting categories and units. Each command writes at once and
// then refills the lists it changed.
#include "app/MainDlg.h"

#include "editing/CategoryEditDlg.h"
#include "editing/UnitEditDlg.h"

#include "store/UnitValues.h"

#include "framework/MessageBox.h"

namespace
{
constexpr std::int32_t kCurrencyCategoryId = 1;
constexpr const wchar_t kNewCategoryName[] = L"New category";
constexpr const wchar_t kNewUnitName[] = L"New unit";

bool HasCurrentRecord(const CDaoRecordset& recordset)
{
    return recordset.GetAbsolutePosition() >= 0;
}

// After a delete: the record that followed, or the one before when it was the last.
void MoveToNeighbour(CDaoRecordset& recordset)
{
    recordset.MoveNext();
    if (recordset.IsEOF())
        recordset.MovePrev();
}

bool FindCategory(CRecordsetCategory& categories, std::int32_t nCategoryId)
{
    for (categories.MoveFirst(); !categories.IsEOF(); categories.MoveNext())
        if (categories.m_CategoryId == nCategoryId)
            return true;
    return false;
}
} // namespace

// Through the dialog manager, so the default button follows the focus.
void CMainDlg::FocusControl(int nId)
{
    if (HWND control = GetDlgItemHwnd(nId))
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void CMainDlg::OnMenuNewCategory()
{
    FocusControl(IDC_NEW_CATEGORY);
    OnNewCategory();
}

void CMainDlg::OnMenuDeleteCategory()
{
    FocusControl(IDC_DELETE_CATEGORY);
    OnDeleteCategory();
}

void CMainDlg::OnMenuCategoryProperties()
{
    FocusControl(IDC_RENAME_CATEGORY);
    OnCategoryProperties();
}

void CMainDlg::OnMenuNewUnit()
{
    FocusControl(IDC_NEW_UNIT);
    OnNewUnit();
}

void CMainDlg::OnMenuDeleteUnit()
{
    FocusControl(IDC_DELETE_UNIT);
    OnDeleteUnit();
}

void CMainDlg::OnMenuUnitProperties()
{
    FocusControl(IDC_EDIT_UNIT);
    OnUnitProperties();
}

void CMainDlg::OnMenuResultProperties()
{
    FocusControl(IDC_EDIT_UNIT);
    OnResultProperties();
}

void CMainDlg::OnNewCategory()
{
    CRecordsetCategory& categories = *m_pCategorySet;
    std::int32_t nNewId = 0;
    try
    {
        categories.AddNew();
        categories.m_CategoryName = kNewCategoryName;
        categories.Update();
        // A record added since the last requery stands at the end of the set.
        categories.MoveLast();
        nNewId = categories.m_CategoryId;
        categories.MarkSelected();
    }
    catch (...)
    {
        FillList(m_listCategory);
        throw;
    }
    FillList(m_listCategory);
    // The new record itself, not the first one that happens to carry the same name.
    if (FindCategory(categories, nNewId))
        OnCategoryProperties();
}

void CMainDlg::OnCategoryProperties()
{
    CRecordsetCategory& categories = *m_pCategorySet;
    if (!HasCurrentRecord(categories))
        return;
    CCategoryEditDlg dialog(&categories, this);
    categories.Edit();
    if (dialog.DoModal() != IDOK)
    {
        // Nothing of the dialog may reach a later update.
        categories.CancelUpdate();
        return;
    }
    categories.Update();
    FillList(m_listCategory);
    FocusControl(IDC_CATEGORY_LIST);
}

void CMainDlg::OnDeleteCategory()
{
    CRecordsetCategory& categories = *m_pCategorySet;
    if (!HasCurrentRecord(categories))
        return;
    try
    {
        const std::wstring strName = categories.m_CategoryName;
        if (categories.m_CategoryId == kCurrencyCategoryId)
        {
            AfxMessageBox(L"Category " + strName +
                              L" can't be deleted.\n\nThis category has a special purpose for "
                              L"updating currency rates\nfrom the European Central Bank (ECB).\n",
                          MB_OK | MB_ICONINFORMATION);
            return;
        }
        if (m_pUnitSet->GetRecordCount() > 0)
        {
            AfxMessageBox(L"Category " + strName + L" isn't empty.\n\nPlease delete units first.",
                          MB_OK | MB_ICONEXCLAMATION);
        }
        else if (AfxMessageBox(L"Are you sure to delete category " + strName + L" ?",
                               MB_YESNO | MB_ICONQUESTION) == IDYES)
        {
            categories.Delete();
            MoveToNeighbour(categories);
            // Deleting the only category leaves nothing to select.
            if (HasCurrentRecord(categories))
                categories.MarkSelected();
        }
    }
    catch (...)
    {
        FillList(m_listCategory);
        throw;
    }
    FillList(m_listCategory);
    FocusControl(IDC_CATEGORY_LIST);
}

void CMainDlg::OnNewUnit()
{
    CRecordsetCategory& categories = *m_pCategorySet;
    CRecordsetUnit& units = *m_pUnitSet;
    // A unit needs a category to belong to.
    if (!HasCurrentRecord(categories))
        return;
    std::int32_t nNewId = 0;
    try
    {
        units.AddNew();
        units.m_UnitName = kNewUnitName;
        units.m_IsInvertResult = false;
        units.m_CategoryId = m_nCategoryId;
        units.Update();
        units.MoveLast();
        nNewId = units.m_UnitId;
        categories.Edit();
        categories.m_CurrentUnitId = nNewId;
        categories.Update();
    }
    catch (...)
    {
        FillList(m_listUnits);
        throw;
    }
    FillList(m_listUnits);
    // The new record itself, not the first one that happens to carry the same name.
    if (units.FindUnit(nNewId))
        OnUnitProperties();
}

// Runs Unit Properties on the record set's current unit and refills the unit and result
// lists; true when OK stored it.
bool CMainDlg::EditUnitInDialog(CRecordsetUnit& recordset)
{
    if (!HasCurrentRecord(recordset) || !HasCurrentRecord(*m_pCategorySet))
        return false;
    const UnitScale scaleBefore = ScaleOf(recordset);
    recordset.Edit();
    CUnitEditDlg dialog(&recordset, m_pCategorySet->m_CategoryName, this);
    if (dialog.DoModal() != IDOK)
    {
        // Nothing of the dialog may reach a later update.
        recordset.CancelUpdate();
        return false;
    }
    recordset.Update();
    // A changed factor, shift or invert flag changes what the source value is in that
    // unit: the stored values follow at once, so no list shows the old conversion.
    if (ScaleOf(recordset) != scaleBefore)
        RecalculateUnitValues(m_ValueEntry.Value(), *m_pCategorySet, *m_pUnitSet);
    FillList(m_listUnits);
    FillList(m_listResult);
    return true;
}

void CMainDlg::OnUnitProperties()
{
    if (!EditUnitInDialog(*m_pUnitSet))
        return;
    FocusControl(IDC_UNIT_LIST);
}

void CMainDlg::OnResultProperties() { EditUnitInDialog(*m_pResultSet); }

void CMainDlg::OnDeleteUnit()
{
    CRecordsetUnit& units = *m_pUnitSet;
    // Without a unit there is nothing to ask about; the members would name another one.
    if (!HasCurrentRecord(units))
        return;
    try
    {
        if (AfxMessageBox(L"Are you sure to delete unit " + units.m_UnitName + L" ?", MB_YESNO) ==
            IDYES)
        {
            units.Delete();
            MoveToNeighbour(units);
            // The category's only unit leaves no current unit to record.
            if (HasCurrentRecord(units))
            {
                m_pCategorySet->Edit();
                m_pCategorySet->m_CurrentUnitId = units.m_UnitId;
                m_pCategorySet->Update();
            }
        }
    }
    catch (...)
    {
        FillList(m_listUnits);
        FillList(m_listResult);
        throw;
    }
    FillList(m_listUnits);
    FillList(m_listResult);
    FocusControl(IDC_UNIT_LIST);
}
