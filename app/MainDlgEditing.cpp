// Creating, editing and deleting categories and units. Each command writes at once and
// then refills the lists it changed.
#include "app/MainDlg.h"

#include "editing/CategoryEditDlg.h"
#include "editing/UnitEditDlg.h"

#include "store/UnitValues.h"

#include "framework/MessageBox.h"

namespace
{
constexpr const wchar_t kNewCategoryName[] = L"New category";
constexpr const wchar_t kNewUnitName[] = L"New unit";

bool HasCurrentRecord(const CDaoRecordset& recordset)
{
    return recordset.GetAbsolutePosition() >= 0;
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
    std::int32_t nNewId = 0;
    RunCatalogueCommand(kCategoryList,
                        [&] { nNewId = m_catalogue.AddCategory(kNewCategoryName); });
    FillCategoryList();
    // The new record itself, not the first one that happens to carry the same name.
    if (m_catalogue.MoveToCategory(nNewId))
        OnCategoryProperties();
}

void CMainDlg::OnCategoryProperties()
{
    CRecordsetCategory& categories = m_catalogue.Categories();
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
    RunCatalogueCommand(kCategoryList, [&] { categories.Update(); });
    FillCategoryList();
    FocusControl(IDC_CATEGORY_LIST);
}

void CMainDlg::OnDeleteCategory()
{
    const CRecordsetCategory& categories = m_catalogue.Categories();
    if (!HasCurrentRecord(categories))
        return;
    const std::wstring strName = categories.m_CategoryName;
    if (categories.m_CategoryId == kCurrencyCategoryId)
    {
        AfxMessageBox(L"Category " + strName +
                          L" can't be deleted.\n\nThis category has a special purpose for "
                          L"updating currency rates\nfrom the European Central Bank (ECB).\n",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (m_catalogue.Units().GetRecordCount() > 0)
    {
        AfxMessageBox(L"Category " + strName + L" isn't empty.\n\nPlease delete units first.",
                      MB_OK | MB_ICONEXCLAMATION);
    }
    else if (AfxMessageBox(L"Are you sure to delete category " + strName + L" ?",
                           MB_YESNO | MB_ICONQUESTION) == IDYES)
    {
        RunCatalogueCommand(kCategoryList, [this] { m_catalogue.DeleteCategory(); });
    }
    FillCategoryList();
    FocusControl(IDC_CATEGORY_LIST);
}

void CMainDlg::OnNewUnit()
{
    // A unit needs a category to belong to.
    if (!HasCurrentRecord(m_catalogue.Categories()))
        return;
    std::int32_t nNewId = 0;
    RunCatalogueCommand(kUnitList, [&] { nNewId = m_catalogue.AddUnit(kNewUnitName); });
    FillUnitList();
    // The new record itself, not the first one that happens to carry the same name.
    if (m_catalogue.Units().FindUnit(nNewId))
        OnUnitProperties();
}

// Runs Unit Properties on the record set's current unit and refills the unit and result
// lists; true when OK stored it.
bool CMainDlg::EditUnitInDialog(CRecordsetUnit& recordset)
{
    if (!HasCurrentRecord(recordset) || !HasCurrentRecord(m_catalogue.Categories()))
        return false;
    const UnitScale scaleBefore = ScaleOf(recordset);
    recordset.Edit();
    CUnitEditDlg dialog(&recordset, m_catalogue.Categories().m_CategoryName, this);
    if (dialog.DoModal() != IDOK)
    {
        // Nothing of the dialog may reach a later update.
        recordset.CancelUpdate();
        return false;
    }
    RunCatalogueCommand(kUnitList | kResultList, [&] {
        m_catalogue.UpdateUnit(recordset, scaleBefore, m_ValueEntry.Value());
    });
    FillUnitList();
    FillResultList();
    return true;
}

void CMainDlg::OnUnitProperties()
{
    if (!EditUnitInDialog(m_catalogue.Units()))
        return;
    FocusControl(IDC_UNIT_LIST);
}

void CMainDlg::OnResultProperties() { EditUnitInDialog(m_catalogue.Results()); }

void CMainDlg::OnDeleteUnit()
{
    CRecordsetUnit& units = m_catalogue.Units();
    // Without a unit there is nothing to ask about; the members would name another one.
    if (!HasCurrentRecord(units))
        return;
    if (AfxMessageBox(L"Are you sure to delete unit " + units.m_UnitName + L" ?", MB_YESNO) ==
        IDYES)
        RunCatalogueCommand(kUnitList | kResultList, [this] { m_catalogue.DeleteUnit(); });
    FillUnitList();
    FillResultList();
    FocusControl(IDC_UNIT_LIST);
}
