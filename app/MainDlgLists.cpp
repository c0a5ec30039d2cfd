// Filling the three lists from their record sets.
#include "app/MainDlg.h"

#include "engine/NumberText.h"

#include "framework/DpiScale.h"

#include "store/DaoException.h"

#include <string>
#include <vector>

namespace
{
constexpr int kInitialImages = 4;
constexpr int kImageGrowth = 4;

// Shows the wait cursor while a list is rebuilt.
class CWaitCursorScope
{
public:
    CWaitCursorScope() : m_hPrevious(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursorScope() { ::SetCursor(m_hPrevious); }
    CWaitCursorScope(const CWaitCursorScope&) = delete;
    CWaitCursorScope& operator=(const CWaitCursorScope&) = delete;

private:
    HCURSOR m_hPrevious;
};

// Redraw off while a list is rebuilt, and on again however the rebuild ends: an engine
// error half way must not leave the list unpainted for the rest of the run.
class CRedrawOffScope
{
public:
    explicit CRedrawOffScope(CListCtrl& list) : m_list(list) { m_list.SetRedraw(FALSE); }
    ~CRedrawOffScope()
    {
        m_list.SetRedraw(TRUE);
        m_list.Invalidate();
    }
    CRedrawOffScope(const CRedrawOffScope&) = delete;
    CRedrawOffScope& operator=(const CRedrawOffScope&) = delete;

private:
    CListCtrl& m_list;
};

// One insert carries the text and the record position.
int AppendRow(CListCtrl& list, const std::wstring& text, int nRecordPosition)
{
    return list.InsertItem(LVIF_TEXT | LVIF_PARAM, list.GetItemCount(), text, 0, 0, 0,
                           static_cast<LPARAM>(nRecordPosition));
}
} // namespace

void CMainDlg::CreateImageLists()
{
    // The image lists are made once and keep every icon added: adding an icon costs a few
    // milliseconds under Wine, and a refill would otherwise add one for every row again.
    const int nLarge = AfxScale(32);
    const int nSmall = AfxScale(16);
    m_pImageListLarge->Create(nLarge, nLarge, ILC_COLORDDB | ILC_MASK, kInitialImages, kImageGrowth);
    m_pImageListSmall->Create(nSmall, nSmall, ILC_COLORDDB | ILC_MASK, kInitialImages, kImageGrowth);
    m_categoryImages.clear();
    m_listCategory.SetImageList(*m_pImageListLarge, LVSIL_NORMAL);
    m_listCategory.SetImageList(*m_pImageListSmall, LVSIL_SMALL);
}

int CMainDlg::AddCategoryIcon(std::int32_t nIconId, CImageList& imageList)
{
    HINSTANCE hInstance = AfxGetInstanceHandle();
    const int nImage = imageList.AddIconResource(hInstance, static_cast<UINT>(nIconId));
    return nImage >= 0 ? nImage : imageList.AddIconResource(hInstance, IDI_CATEGORY_DEFAULT);
}

// The image of the icon in both lists, added the first time the icon is asked for.
int CMainDlg::CategoryImage(std::int32_t nIconId)
{
    const auto known = m_categoryImages.find(nIconId);
    if (known != m_categoryImages.end())
        return known->second;
    const int nImage = AddCategoryIcon(nIconId, *m_pImageListLarge);
    AddCategoryIcon(nIconId, *m_pImageListSmall);
    m_categoryImages.emplace(nIconId, nImage);
    return nImage;
}

// Empties the list and fills it again from the catalogue, which is opened again first when
// it is not open; fillRows adds the rows and chooses one.
template <class TFillRows> void CMainDlg::RefillList(CListCtrl& list, TFillRows&& fillRows)
{
    CRedrawOffScope redrawOff(list);
    list.DeleteAllItems();
    if (!m_catalogue.IsOpen() && !OpenDatabase())
    {
        ShowCatalogueError();
        return;
    }
    CWaitCursorScope waitCursor;
    fillRows();
}

void CMainDlg::FillCategoryList()
{
    if (!m_pImageListLarge->GetSafeHandle())
        CreateImageLists();
    RefillList(m_listCategory, [this] {
        ShowChosenRow(m_listCategory, m_catalogue.Categories(), FillCategoryRows());
    });
}

void CMainDlg::FillUnitList()
{
    RefillList(m_listUnits,
               [this] { ShowChosenRow(m_listUnits, m_catalogue.Units(), FillUnitRows()); });
}

void CMainDlg::FillResultList()
{
    RefillList(m_listResult, [this] {
        ShowSourceUnitName(m_catalogue.SourceUnitName());
        ShowChosenRow(m_listResult, m_catalogue.Results(), FillResultRows());
    });
}

int CMainDlg::FillCategoryRows()
{
    CRecordsetCategory& categories = m_catalogue.Categories();
    int nChosenRow = 0;
    if (categories.GetRecordCount() == 0)
        return nChosenRow;
    int nRow = 0;
    for (categories.MoveFirst(); !categories.IsEOF(); categories.MoveNext(), ++nRow)
    {
        const int nItem = AppendRow(m_listCategory, categories.m_CategoryName, nRow);
        m_listCategory.SetItemImage(nItem, CategoryImage(categories.m_IconId));
        if (categories.m_IsSelected)
            nChosenRow = nRow;
    }
    return nChosenRow;
}

int CMainDlg::FillUnitRows()
{
    CRecordsetUnit& units = m_catalogue.Units();
    int nChosenRow = 0;
    units.Requery();
    if (units.GetRecordCount() == 0)
        return nChosenRow;
    int nRow = 0;
    for (units.MoveFirst(); !units.IsEOF(); units.MoveNext(), ++nRow)
    {
        const int nItem = AppendRow(m_listUnits, units.m_UnitName, nRow);
        m_listUnits.SetItemText(nItem, 1, FormatLg(units.m_FactorMul));
        m_listUnits.SetItemText(nItem, 2, FormatLg(units.m_FactorAdd));
        m_listUnits.SetItemText(nItem, 3, units.m_IsInvertResult ? L"Yes" : L"");
        if (units.m_UnitId == m_catalogue.Categories().m_CurrentUnitId)
            nChosenRow = nRow;
    }
    return nChosenRow;
}

int CMainDlg::FillResultRows()
{
    CRecordsetResult& results = m_catalogue.Results();
    int nChosenRow = 0;
    results.Requery();
    if (results.GetRecordCount() == 0)
        return nChosenRow;
    int nRow = 0;
    for (results.MoveFirst(); !results.IsEOF(); results.MoveNext(), ++nRow)
    {
        const int nItem = AppendRow(m_listResult, results.m_UnitName, nRow);
        m_listResult.SetItemText(nItem, 1, FormatLg(results.m_UserValue));
        if (results.m_UnitId == m_catalogue.Categories().m_TargetUnitId)
            nChosenRow = nRow;
    }
    return nChosenRow;
}

// A new value changes the result texts only. While the result set lists the same names in
// the same order as the rows, the texts are set in place, which shows exactly what a refill
// would at a fraction of its cost (a refill deletes and inserts every row); otherwise, and
// whenever the catalogue is not open, the list is refilled.
void CMainDlg::RefreshResultValues()
{
    if (!m_catalogue.IsOpen())
        return FillResultList();
    CRecordsetResult& results = m_catalogue.Results();
    results.Requery();
    const std::int32_t nCount = results.GetRecordCount();
    if (nCount <= 0 || nCount != m_listResult.GetItemCount())
        return FillResultList();

    std::vector<std::wstring> values;
    values.reserve(static_cast<std::size_t>(nCount));
    int nChosenRow = 0;
    int nRow = 0;
    for (results.MoveFirst(); !results.IsEOF(); results.MoveNext(), ++nRow)
    {
        if (m_listResult.GetItemText(nRow, 0) != results.m_UnitName)
            return FillResultList();
        values.push_back(FormatLg(results.m_UserValue));
        if (results.m_UnitId == m_catalogue.Categories().m_TargetUnitId)
            nChosenRow = nRow;
    }
    // Only the rows whose text changes are repainted.
    for (std::size_t i = 0; i < values.size(); ++i)
        if (m_listResult.GetItemText(static_cast<int>(i), 1) != values[i])
            m_listResult.SetItemText(static_cast<int>(i), 1, values[i]);
    ShowChosenRow(m_listResult, results, nChosenRow);
}

void CMainDlg::ShowSourceUnitName(const std::wstring& strName)
{
    if (m_editSourceUnit.GetWindowText() != strName)
    {
        // Hidden while it changes, so the transparent field repaints over the background.
        m_editSourceUnit.ShowWindow(SW_HIDE);
        m_editSourceUnit.SetWindowText(strName);
        m_editSourceUnit.ShowWindow(SW_SHOW);
    }
    m_ToolTip.UpdateTipText(L"Source unit: " + strName, m_editSourceUnit.m_hWnd);
}

void CMainDlg::ShowChosenRow(CListCtrl& list, CDaoRecordset& recordset, int nChosenRow)
{
    const std::int32_t nCount = recordset.GetRecordCount();
    if (nCount <= 0)
        return;
    if (nChosenRow >= nCount)
        nChosenRow = nCount - 1;
    if (nChosenRow < 0)
        nChosenRow = 0;
    recordset.SetAbsolutePosition(nChosenRow);
    SelectRow(list, nChosenRow);
}

void CMainDlg::SelectRow(CListCtrl& list, int nRow)
{
    list.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.EnsureVisible(nRow, FALSE);
}

bool CMainDlg::ReadResultUnit(DWORD_PTR nPosition, std::wstring& strUnitName, double& dUserValue)
{
    if (!m_catalogue.IsOpen())
        return false;
    CRecordsetResult& results = m_catalogue.Results();
    const std::int32_t nSaved = results.GetAbsolutePosition();
    bool bFound = false;
    try
    {
        results.SetAbsolutePosition(static_cast<std::int32_t>(nPosition));
        strUnitName = results.m_UnitName;
        dUserValue = results.m_UserValue;
        bFound = true;
    }
    catch (const CDaoException&)
    {
        // A row left from before the last change: no tip rather than an error box.
    }
    if (nSaved >= 0)
        results.SetAbsolutePosition(nSaved);
    return bFound;
}
