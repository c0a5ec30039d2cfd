#pragma once
// The main window: three lists, the value field and the keypad, a view over the catalogue
// it owns for its whole life. Each command writes through the catalogue, then shows what
// the catalogue holds.
#include "skin/SkinBackground.h"
#include "skin/SkinOwner.h"
#include "skin/TavButton.h"
#include "skin/TavEdit.h"
#include "skin/TavListCtrl.h"

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/ImageList.h"
#include "framework/MessageMap.h"
#include "framework/ToolTipCtrl.h"

#include "engine/ValueEntry.h"

#include "store/Catalogue.h"

#include "res/resource.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class CMainDlg : public CDialog, public ISkinOwner
{
public:
    CMainDlg();
    ~CMainDlg() override;

    // The catalogue the window shows; tests and benchmarks read and change it directly.
    CCatalogue& GetCatalogue() { return m_catalogue; }

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void BeginModalState() override;
    void EndModalState() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(CMainDlg)
        ON_WM_SIZE(OnSize)
        ON_WM_TIMER(OnTimer)
        ON_WM_QUERYDRAGICON(OnQueryDragIcon)
        ON_WM_DESTROY(OnDestroy)
        ON_WM_ERASEBKGND(OnEraseBkgnd)
        ON_NOTIFY(LVN_ITEMCHANGED, IDC_CATEGORY_LIST, OnCategoryChanged)
        ON_NOTIFY(LVN_ODSTATECHANGED, IDC_CATEGORY_LIST, OnCategoryStateChanged)
        ON_NOTIFY(LVN_ITEMCHANGED, IDC_UNIT_LIST, OnUnitChanged)
        ON_NOTIFY(NM_DBLCLK, IDC_UNIT_LIST, OnUnitActivated)
        ON_NOTIFY(NM_RETURN, IDC_UNIT_LIST, OnUnitActivated)
        ON_NOTIFY(LVN_ITEMCHANGED, IDC_RESULT_LIST, OnResultChanged)
        ON_NOTIFY(NM_DBLCLK, IDC_RESULT_LIST, OnResultDoubleClick)
        ON_COMMAND(ID_SORT_DEFAULT, OnSortDefault)
        ON_COMMAND(ID_SORT_ALPHABETICAL, OnSortAlphabetical)
        ON_COMMAND(ID_SORT_REVERSE, OnSortReverse)
        ON_CONTROL(CBN_SELCHANGE, IDC_SORT_CHOICE, OnSortChoice)
        ON_COMMAND(ID_UNIT_SHOW_IN_RESULT, OnShowInResult)
        ON_COMMAND(ID_UNIT_SET_AS_SOURCE, OnUnitSetAsSource)
        ON_COMMAND(ID_RESULT_SET_AS_SOURCE, OnResultSetAsSource)
        ON_COMMAND(ID_RESULT_HIDE, OnResultHide)
        ON_COMMAND(ID_RESULT_COPY_VALUE, OnResultCopyValue)
        ON_COMMAND(ID_CURRENCY_UPDATE, OnCurrencyUpdate)
        ON_COMMAND(IDC_ABOUT, OnAbout)
        ON_COMMAND_RANGE(IDC_KEY_0, IDC_KEY_9, OnDigitButton)
        ON_COMMAND(IDC_KEY_POINT, OnPointButton)
        ON_COMMAND(IDC_KEY_SIGN, OnSignButton)
        ON_COMMAND(IDC_KEY_CLEAR, OnClearButton)
        ON_COMMAND(IDC_KEY_BACKSPACE, OnBackspaceButton)
        ON_COMMAND(IDC_NEW_CATEGORY, OnNewCategory)
        ON_COMMAND(IDC_RENAME_CATEGORY, OnCategoryProperties)
        ON_COMMAND(IDC_DELETE_CATEGORY, OnDeleteCategory)
        ON_COMMAND(IDC_NEW_UNIT, OnNewUnit)
        ON_COMMAND(IDC_EDIT_UNIT, OnUnitProperties)
        ON_COMMAND(IDC_DELETE_UNIT, OnDeleteUnit)
        ON_COMMAND(ID_CATEGORY_NEW, OnMenuNewCategory)
        ON_COMMAND(ID_CATEGORY_DELETE, OnMenuDeleteCategory)
        ON_COMMAND(ID_CATEGORY_PROPERTIES, OnMenuCategoryProperties)
        ON_COMMAND(ID_UNIT_NEW, OnMenuNewUnit)
        ON_COMMAND(ID_UNIT_DELETE, OnMenuDeleteUnit)
        ON_COMMAND(ID_UNIT_PROPERTIES, OnMenuUnitProperties)
        ON_COMMAND(ID_RESULT_PROPERTIES, OnMenuResultProperties)
    END_MSG_MAP(CDialog)

private:
    // ISkinOwner
    void PasteValueText(const std::wstring& strText) override;
    UINT GetCategoryMenuId() override;
    bool ReadResultUnit(DWORD_PTR nPosition, std::wstring& strUnitName,
                        double& dUserValue) override;

    // Opening and closing the catalogue (MainDlgDatabase.cpp).
    BOOL OpenDatabase();
    void ShowCatalogueError();
    // The lists a command changes. A selection's own write refills none: the refill would
    // choose the row again and repeat the write that failed.
    enum ListSet : unsigned
    {
        kNoList = 0,
        kCategoryList = 1,
        kUnitList = 2,
        kResultList = 4
    };
    // Runs one catalogue command. Its writes reach the file whole or not at all; on any
    // error the lists it changes are refilled from what the file holds, and the error goes
    // on to the framework's report, which shows the engine's description.
    void RunCatalogueCommand(unsigned nLists, const std::function<void()>& command);

    // The three lists (MainDlgLists.cpp).
    void FillCategoryList();
    void FillUnitList();
    void FillResultList();
    // After a new source value: the result list's value texts, in place where its rows stand.
    void RefreshResultValues();
    template <class TFillRows> void RefillList(CListCtrl& list, TFillRows&& fillRows);
    void CreateImageLists();
    int AddCategoryIcon(std::int32_t nIconId, CImageList& imageList);
    int CategoryImage(std::int32_t nIconId);
    int FillCategoryRows();
    int FillUnitRows();
    int FillResultRows();
    void ShowSourceUnitName(const std::wstring& strName);
    void ShowChosenRow(CListCtrl& list, CDaoRecordset& recordset, int nChosenRow);
    void SelectRow(CListCtrl& list, int nRow);

    // Selections and list commands (MainDlgSelection.cpp).
    void ShowSelectedCategory();
    void ShowSelectedUnit();
    void ShowSelectedResult();
    void SetStatusText(const std::wstring& strText);
    std::wstring DescribeUnit(const CRecordsetUnit& unit) const;
    std::wstring DescribeCategory(const CRecordsetCategory& category) const;
    void SetCategorySort(int nMode);
    int FirstSelectedRow(CListCtrl& list) const;
    bool MoveToSelectedRow(CListCtrl& list, CDaoRecordset& recordset);
    void SetAsSource(CRecordsetUnit& recordset);

    // The source value (MainDlgValue.cpp).
    void OnValueKey(int nCode);
    // Shows the entered value and stores it converted into every unit of the category.
    void ApplyValue();
    BOOL TranslateValueKey(const MSG& msg);
    BOOL SendToValueField(UINT nCommand);

    void OnSize(UINT nType, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    HCURSOR OnQueryDragIcon();
    void OnDestroy();
    BOOL OnEraseBkgnd(HDC dc);
    void OnCategoryChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnCategoryStateChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnUnitChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnUnitActivated(NMHDR* pNMHDR, LRESULT* pResult);
    void OnResultChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnResultDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSortDefault() { SetCategorySort(0); }
    void OnSortAlphabetical() { SetCategorySort(1); }
    void OnSortReverse() { SetCategorySort(2); }
    void OnSortChoice();
    void OnShowInResult();
    void OnUnitSetAsSource();
    void OnResultSetAsSource();
    void OnResultHide();
    void OnResultCopyValue();
    // The currency category's rates update (MainDlgRates.cpp).
    void OnCurrencyUpdate();
    void UpdateCurrencyRates();
    void OnAbout();
    void OnDigitButton(UINT nId) { OnValueKey(static_cast<int>(nId - IDC_KEY_0)); }
    void OnPointButton() { OnValueKey(CValueEntry::kPoint); }
    void OnSignButton() { OnValueKey(CValueEntry::kSign); }
    void OnClearButton() { OnValueKey(CValueEntry::kClear); }
    void OnBackspaceButton() { OnValueKey(CValueEntry::kBackspace); }

    // Catalogue editing (MainDlgEditing.cpp). The menu commands first move the focus to
    // the button of the same command.
    void OnNewCategory();
    void OnCategoryProperties();
    void OnDeleteCategory();
    void OnNewUnit();
    void OnUnitProperties();
    void OnResultProperties();
    void OnDeleteUnit();
    void OnMenuNewCategory();
    void OnMenuDeleteCategory();
    void OnMenuCategoryProperties();
    void OnMenuNewUnit();
    void OnMenuDeleteUnit();
    void OnMenuUnitProperties();
    void OnMenuResultProperties();
    bool EditUnitInDialog(CRecordsetUnit& recordset);
    void FocusControl(int nId);

    // Setting up (MainDlg.cpp).
    void LoadButtonStrips();
    void CreateToolTips();
    void InsertListColumns();
    void CreateFonts();
    std::array<CTavListCtrl*, 3> Lists();
    BOOL DeliverEnterToList(MSG& msg);

    CCatalogue m_catalogue;
    CValueEntry m_ValueEntry;

    CSkinBackground m_background;
    CTavEditLCD m_editValue;
    CTavEditTransparent m_editSourceUnit;
    CTavEditTransparent m_editStatus;
    CTavListCtrl_Category m_listCategory;
    CTavListCtrl_Units m_listUnits;
    CTavListCtrl_Result m_listResult;

    CTavButton m_btnExit;
    CTavButton m_btnNewCategory, m_btnRenameCategory, m_btnDeleteCategory;
    CTavButton m_btnNewUnit, m_btnEditUnit, m_btnDeleteUnit;
    CTavButton m_btnAbout;
    CTavButton m_btnDigit[10];
    CTavButton m_btnPoint, m_btnSign, m_btnClear, m_btnBackspace;

    std::wstring m_strSortChoice;
    std::unique_ptr<CImageList> m_pImageListLarge;
    std::unique_ptr<CImageList> m_pImageListSmall;
    std::map<std::int32_t, int> m_categoryImages; // icon id -> its image in both lists
    CGdiFont m_fontList;
    CGdiFont m_fontBold;
    CToolTipCtrl m_ToolTip;
};
