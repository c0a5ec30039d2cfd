#include "app/MainDlg.h"

#include <algorithm>

#include "app/AboutDlg.h"
#include "app/DatabaseLocation.h"
#include "app/MainLayout.h"

#include "framework/DpiScale.h"
#include "framework/MessageBox.h"

namespace
{
struct ToolTipText
{
    int id;
    const wchar_t* text;
};

constexpr ToolTipText kToolTips[] = {
    {IDC_RENAME_CATEGORY, L"Rename selected category"},
    {IDC_NEW_CATEGORY, L"Add new category"},
    {IDC_DELETE_CATEGORY, L"Remove selected category"},
    {IDC_EDIT_UNIT, L"Change unit properties"},
    {IDC_NEW_UNIT, L"Add new unit"},
    {IDC_DELETE_UNIT, L"Remove selected unit"},
    {IDC_ABOUT, L"About"},
    {IDC_SOURCE_UNIT, L"Source unit"},
    {IDC_KEY_BACKSPACE, L"Backspace"},
    {IDC_KEY_CLEAR, L"Clear [Esc]"},
};

constexpr const wchar_t* kSortChoices[] = {L"Default", L"Alphabetical", L"Reverse"};

constexpr COLORREF kSkinText = RGB(255, 255, 255);
constexpr COLORREF kLcdBackground = RGB(255, 255, 231);

// Controls that sit on the background and are painted again after a restore.
constexpr int kRepaintedOnSize[] = {IDCANCEL,          IDC_EDIT_UNIT,       IDC_NEW_UNIT,
                                    IDC_DELETE_UNIT,   IDC_RENAME_CATEGORY, IDC_NEW_CATEGORY,
                                    IDC_DELETE_CATEGORY, IDC_ABOUT,         IDC_STATUS,
                                    IDC_SORT_CHOICE};

int ClientWidth(const CWnd& list)
{
    RECT client{};
    list.GetClientRect(&client);
    return client.right - client.left;
}
} // namespace

CMainDlg::CMainDlg() : CDialog(IDD_MAIN) {}

// The catalogue, declared first, closes last: after the lists and image lists that show it.
CMainDlg::~CMainDlg() = default;

void CMainDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    dx.Control(IDC_CATEGORY_LIST, m_listCategory);
    dx.Control(IDC_UNIT_LIST, m_listUnits);
    dx.Control(IDC_RESULT_LIST, m_listResult);
    dx.Control(IDC_VALUE, m_editValue);
    dx.Control(IDC_SOURCE_UNIT, m_editSourceUnit);
    dx.Control(IDC_STATUS, m_editStatus);
    dx.Control(IDC_NEW_CATEGORY, m_btnNewCategory);
    dx.Control(IDC_RENAME_CATEGORY, m_btnRenameCategory);
    dx.Control(IDC_DELETE_CATEGORY, m_btnDeleteCategory);
    dx.Control(IDC_NEW_UNIT, m_btnNewUnit);
    dx.Control(IDC_EDIT_UNIT, m_btnEditUnit);
    dx.Control(IDC_DELETE_UNIT, m_btnDeleteUnit);
    dx.Control(IDC_ABOUT, m_btnAbout);
    for (int i = 0; i < 10; ++i)
        dx.Control(IDC_KEY_0 + i, m_btnDigit[i]);
    dx.Control(IDC_KEY_POINT, m_btnPoint);
    dx.Control(IDC_KEY_SIGN, m_btnSign);
    dx.Control(IDC_KEY_CLEAR, m_btnClear);
    dx.Control(IDC_KEY_BACKSPACE, m_btnBackspace);
    dx.Text(IDC_SORT_CHOICE, m_strSortChoice);
    dx.Control(IDCANCEL, m_btnExit);
}

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_background.Setup(*this, IDB_MAIN_BACKGROUND);
    LoadButtonStrips();
    PlaceMainWindowControls(*this);

    CComboBox sortChoice;
    sortChoice.Attach(GetDlgItemHwnd(IDC_SORT_CHOICE));
    for (const wchar_t* choice : kSortChoices)
        sortChoice.AddString(choice);
    sortChoice.SetCurSel(0);
    sortChoice.Detach();

    CreateToolTips();
    m_pImageListLarge = std::make_unique<CImageList>();
    m_pImageListSmall = std::make_unique<CImageList>();
    InsertListColumns();
    for (CTavListCtrl* list : Lists())
    {
        list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
        list->InitSkin();
    }

    SetIcon(static_cast<HICON>(::LoadImageW(AfxGetInstanceHandle(),
                                            MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                            0, 0, LR_DEFAULTSIZE | LR_SHARED)),
            TRUE);
    CreateFonts();

    if (!OpenDatabase())
    {
        ShowCatalogueError();
        return FALSE;
    }
    m_editValue.SetWindowText(m_ValueEntry.Text());

    FillCategoryList();
    SelectRow(m_listCategory, m_catalogue.FindMarkedCategory());
    // Choosing the marked row has filled the other two lists for it through the selection
    // handler; only a catalogue without categories leaves them to be filled here.
    if (m_listCategory.GetItemCount() == 0)
    {
        FillUnitList();
        FillResultList();
    }
    m_listCategory.SetFocus();
    UpdateData(TRUE);
    CenterWindow();
    ShowWindow(SW_SHOW);
    return FALSE;
}

void CMainDlg::LoadButtonStrips()
{
    m_btnExit.LoadStrip(IDB_STRIP_EXIT);
    m_btnNewCategory.LoadStrip(IDB_STRIP_NEW);
    m_btnRenameCategory.LoadStrip(IDB_STRIP_EDIT);
    m_btnDeleteCategory.LoadStrip(IDB_STRIP_DEL);
    m_btnNewUnit.LoadStrip(IDB_STRIP_NEW);
    m_btnEditUnit.LoadStrip(IDB_STRIP_EDIT);
    m_btnDeleteUnit.LoadStrip(IDB_STRIP_DEL);
    m_btnAbout.LoadStrip(IDB_STRIP_ABOUT);
    for (int i = 0; i < 10; ++i)
        m_btnDigit[i].LoadStrip(IDB_STRIP_KEY_0 + i);
    m_btnPoint.LoadStrip(IDB_STRIP_KEY_POINT);
    m_btnSign.LoadStrip(IDB_STRIP_KEY_SIGN);
    m_btnClear.LoadStrip(IDB_STRIP_KEY_CLEAR);
    m_btnBackspace.LoadStrip(IDB_STRIP_KEY_BACKSPACE);
}

void CMainDlg::CreateToolTips()
{
    m_ToolTip.Create(this);
    for (const auto& tip : kToolTips)
        m_ToolTip.AddTool(GetDlgItemHwnd(tip.id), tip.text);
    m_ToolTip.Activate(TRUE);
}

void CMainDlg::InsertListColumns()
{
    // The first columns, and the result list's last, fill their lists' client width: 148 and
    // 233 pixels at 96 DPI, and whatever the fixed borders leave at any other scale.
    const int nListWidth = ClientWidth(m_listCategory);
    m_listCategory.InsertColumn(0, L"Category", LVCFMT_LEFT, nListWidth);
    m_listUnits.InsertColumn(0, L"Unit", LVCFMT_LEFT, nListWidth);
    m_listUnits.InsertColumn(1, L"Factor", LVCFMT_RIGHT,
                             m_listUnits.GetStringWidth(L"   000000000000   "));
    m_listUnits.InsertColumn(2, L"Shift", LVCFMT_RIGHT, m_listUnits.GetStringWidth(L"   000.00   "));
    m_listUnits.InsertColumn(3, L"Is Invert", LVCFMT_CENTER,
                             m_listUnits.GetStringWidth(L"   Is Invert   "));
    const int nUnitWidth = AfxScale(147);
    m_listResult.InsertColumn(0, L"Unit", LVCFMT_LEFT, nUnitWidth);
    m_listResult.InsertColumn(1, L"Result", LVCFMT_RIGHT, ClientWidth(m_listResult) - nUnitWidth);
}

void CMainDlg::CreateFonts()
{
    LOGFONTW logFont{};
    ::GetObjectW(m_editStatus.GetFont(), sizeof logFont, &logFont);
    logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    m_fontList.CreateFontIndirect(logFont);
    logFont.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(logFont);
    for (CTavListCtrl* list : Lists())
        list->SetFont(m_fontList);
    m_editStatus.SetFont(m_fontBold);
    m_editSourceUnit.SetFont(m_fontBold);
    m_editStatus.SetTextColor(kSkinText);
    m_editSourceUnit.SetTextColor(kSkinText);
    m_editValue.SetBackColor(kLcdBackground);
}

std::array<CTavListCtrl*, 3> CMainDlg::Lists() { return {&m_listCategory, &m_listUnits, &m_listResult}; }

// Enter never closes the main window; the status line is read as the framework would.
void CMainDlg::OnOK() { m_editStatus.GetWindowText(); }

void CMainDlg::BeginModalState() { EnableWindow(FALSE); }

void CMainDlg::EndModalState() { EnableWindow(TRUE); }

BOOL CMainDlg::PreTranslateMessage(MSG* pMsg)
{
    if (TranslateValueKey(*pMsg) || DeliverEnterToList(*pMsg))
        return TRUE;
    m_ToolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

// Enter on a list is the list's own key (it reports NM_RETURN: Show in Result on the unit
// list); the dialog manager would turn it into the default command instead.
BOOL CMainDlg::DeliverEnterToList(MSG& msg)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN)
        return FALSE;
    const auto lists = Lists();
    const bool bOnList = std::any_of(lists.begin(), lists.end(),
                                     [&](const CTavListCtrl* list) { return list->m_hWnd == msg.hwnd; });
    if (!bOnList)
        return FALSE;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return TRUE;
}

void CMainDlg::OnSize(UINT, int, int)
{
    Default();
    for (int id : kRepaintedOnSize)
        ::InvalidateRect(GetDlgItemHwnd(id), nullptr, TRUE);
}

void CMainDlg::OnTimer(UINT_PTR nIDEvent) { KillTimer(nIDEvent); }

void CMainDlg::OnDestroy()
{
    Default();
    m_background.Release();
}

BOOL CMainDlg::OnEraseBkgnd(HDC dc)
{
    if (m_background.Erase(*this, dc))
        return TRUE;
    return static_cast<BOOL>(Default());
}

HCURSOR CMainDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }

void CMainDlg::OnAbout()
{
    CAboutDlg about;
    about.DoModal();
}
