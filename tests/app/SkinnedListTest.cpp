// The skinned lists of the real main window: colours and header read back from the screen,
// the skinned bars driven with mouse messages, the result-row tooltips.
#include "tests/app/AppTestSupport.h"

#include "app/MainDlg.h"

#include "engine/ValueText.h"

#include "framework/ToolTipFilter.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace
{
constexpr COLORREF kListBack = RGB(255, 255, 231);
constexpr COLORREF kFocusedSelBack = RGB(37, 100, 139);
constexpr int kLongUnits = 60;

std::wstring LongUnitName(int i)
{
    wchar_t name[16];
    swprintf(name, 16, L"Unit %02d", i);
    return name;
}

// "Long" (marked) with 60 shown units; "Empty" without units; "Few" with two.
std::vector<SourceCategory> ListCategories()
{
    SourceCategory longCategory{L"Long", 1003, L"", true, {}};
    for (int i = 0; i < kLongUnits; ++i)
    {
        SourceUnit unit;
        unit.name = LongUnitName(i);
        unit.factor = i + 1;
        unit.isShown = true;
        longCategory.units.push_back(unit);
    }
    longCategory.units[0].isSource = true;
    longCategory.units[0].isCurrent = true;
    longCategory.units[1].name = std::wstring(90, L'w') + L" unit";

    SourceCategory empty{L"Empty", 1000, L"", false, {}};
    SourceCategory few{L"Few", 1000, L"", false, {}};
    for (const wchar_t* name : {L"one", L"two"})
    {
        SourceUnit unit;
        unit.name = name;
        few.units.push_back(unit);
    }
    few.units[0].isSource = true;
    return {longCategory, empty, few};
}

// Lets the window paint and run its timers for a while.
void PumpFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    MSG msg;
    while (std::chrono::steady_clock::now() < end)
    {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}

COLORREF ScreenPixel(HWND window, int x, int y)
{
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    HDC screen = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(screen, point.x, point.y);
    ::ReleaseDC(nullptr, screen);
    return color;
}

COLORREF BitmapPixel(UINT id, int x, int y)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const COLORREF color = ::GetPixel(memory, x, y);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(bitmap);
    return color;
}

RECT RowBounds(CListCtrl& list, int row)
{
    RECT rect{};
    list.GetItemRect(row, &rect, LVIR_BOUNDS);
    return rect;
}

int TopRow(CListCtrl& list) { return static_cast<int>(list.SendMessage(LVM_GETTOPINDEX)); }

int RowsPerPage(CListCtrl& list)
{
    return static_cast<int>(list.SendMessage(LVM_GETCOUNTPERPAGE));
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class SkinnedListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        catalogue.Write(ListCategories());
        ASSERT_TRUE(dlg.Create());
        ::SetWindowPos(dlg.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Repaint();
    }
    void TearDown() override { dlg.DestroyWindow(); }

    void Repaint()
    {
        ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpFor(std::chrono::milliseconds(30));
    }

    void SelectCategory(int row)
    {
        CategoryList(dlg).SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED,
                                        LVIS_SELECTED | LVIS_FOCUSED);
        Repaint();
    }

    CTavScrollbarV& UnitBar() { return ControlOf<CTavListCtrl>(dlg, IDC_UNIT_LIST).m_ScrollV; }

    // Client points of the bar's parts.
    int UpArrowY() { return 2 + 8; }
    int DownArrowY() { return BarHeight() - 2 - 8; }
    int BarHeight()
    {
        RECT rect;
        UnitBar().GetClientRect(&rect);
        return rect.bottom;
    }

    void Click(CWnd& bar, int y)
    {
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(7, y));
        bar.SendMessage(WM_LBUTTONUP, 0, At(7, y));
    }

    CatalogueBesideProgram catalogue;
    ScriptedMessageBoxes boxes;
    CMainDlg dlg;
};
} // namespace

TEST_F(SkinnedListTest, ListsPaintTheirBackgroundAndTheFocusedSelectionInTheirOwnColours)
{
    CTavListCtrl& categories = ControlOf<CTavListCtrl>(dlg, IDC_CATEGORY_LIST);
    ASSERT_EQ(::GetFocus(), categories.m_hWnd);
    const RECT selected = RowBounds(categories, 0);
    const int yRow = (selected.top + selected.bottom) / 2;
    // Right of the name: the row's background, not its text.
    EXPECT_EQ(ScreenPixel(categories.m_hWnd, selected.right - 6, yRow), kFocusedSelBack);
    bool bWhiteText = false;
    for (int x = selected.left + 20; x < selected.left + 60 && !bWhiteText; ++x)
        for (int y = selected.top; y < selected.bottom && !bWhiteText; ++y)
            bWhiteText = ScreenPixel(categories.m_hWnd, x, y) == RGB(255, 255, 255);
    EXPECT_TRUE(bWhiteText) << "the focused selection's text is white";

    // Without the focus the selection keeps the control's own look.
    UnitList(dlg).SetFocus();
    Repaint();
    const COLORREF unfocused = ScreenPixel(categories.m_hWnd, selected.right - 6, yRow);
    EXPECT_NE(unfocused, kFocusedSelBack);
    EXPECT_NE(unfocused, kListBack);
    categories.SetFocus();
    Repaint();
    EXPECT_EQ(ScreenPixel(categories.m_hWnd, selected.right - 6, yRow), kFocusedSelBack);

    // An empty list: its background under the header, its bar still beside it.
    SelectCategory(1);
    ASSERT_EQ(UnitList(dlg).GetItemCount(), 0);
    for (int y : {40, 150, 300})
        for (int x : {5, 75, 145})
            EXPECT_EQ(ScreenPixel(UnitList(dlg).m_hWnd, x, y), kListBack) << x << "," << y;
    EXPECT_TRUE(UnitBar().IsWindowVisible());
}

TEST_F(SkinnedListTest, HeaderIsDrawnFromTheSkinWithPlainAmpersandAndEllipsis)
{
    CTavHeaderCtrl& header = ControlOf<CTavListCtrl>(dlg, IDC_RESULT_LIST).m_Header;
    RECT first{};
    header.GetItemRect(0, &first);
    // Left cap, tiled middle and right cap of the first column, above the text.
    EXPECT_EQ(ScreenPixel(header.m_hWnd, first.left, 3), BitmapPixel(3352, 0, 3));
    EXPECT_EQ(ScreenPixel(header.m_hWnd, first.left + 1, 8), BitmapPixel(3352, 1, 8));
    EXPECT_EQ(ScreenPixel(header.m_hWnd, first.left + 10, 1), BitmapPixel(3351, 0, 1));
    EXPECT_EQ(ScreenPixel(header.m_hWnd, first.right - 1, 8), BitmapPixel(3353, 1, 8));

    // A pressed heading looks like any other.
    const COLORREF before = ScreenPixel(header.m_hWnd, first.left + 10, 1);
    RECT client{};
    header.GetClientRect(&client);
    header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(first.left + 10, 8));
    header.RedrawWindow();
    EXPECT_EQ(ScreenPixel(header.m_hWnd, first.left + 10, 1), before);
    header.SendMessage(WM_LBUTTONUP, 0, At(first.left + 10, 8));

    // The heading's ink: its horizontal extent, and the rows used near its right end.
    auto inkOf = [&](int column, const wchar_t* text, int& width, int& tailRows) {
        LVCOLUMNW lvColumn{};
        lvColumn.mask = LVCF_TEXT;
        lvColumn.pszText = const_cast<wchar_t*>(text);
        ResultList(dlg).SendMessage(LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&lvColumn));
        header.RedrawWindow();
        RECT item{};
        header.GetItemRect(column, &item);
        COLORREF middle[17];
        for (int y = 0; y < 17; ++y)
            middle[y] = BitmapPixel(3351, 0, y);
        int left = item.right, right = item.left;
        for (int x = item.left + 2; x < item.right - 2; ++x)
            for (int y = 2; y < 15; ++y)
                if (ScreenPixel(header.m_hWnd, x, y) != middle[y])
                {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        width = right - left + 1;
        tailRows = 0;
        for (int y = 2; y < 15; ++y)
            for (int x = right - 6; x <= right; ++x)
                if (ScreenPixel(header.m_hWnd, x, y) != middle[y])
                {
                    ++tailRows;
                    break;
                }
    };
    int nPlain = 0, nAmpersand = 0, nTail = 0;
    inkOf(0, L"AB", nPlain, nTail);
    inkOf(0, L"A&B", nAmpersand, nTail);
    // As a mnemonic prefix the "&" would leave the ink of "AB" (with B underlined).
    EXPECT_GT(nAmpersand, nPlain) << "\"&\" is drawn as itself";

    int nLong = 0, nDotRows = 0;
    inkOf(1, L"Results converted to every unit", nLong, nDotRows);
    RECT resultItem{};
    header.GetItemRect(1, &resultItem);
    EXPECT_LE(nLong, resultItem.right - resultItem.left - 4);
    EXPECT_LE(nDotRows, 3) << "the cut heading ends in dots, not in a cut letter";
}

TEST_F(SkinnedListTest, BarsStandBesideTheirListsAndTheListsOwnBarsAreGone)
{
    struct Expected
    {
        CTavListCtrl* list;
        RECT rect;
    };
    const Expected expected[] = {{&ControlOf<CTavListCtrl>(dlg, IDC_CATEGORY_LIST), {165, 21, 179, 358}},
                                 {&ControlOf<CTavListCtrl>(dlg, IDC_UNIT_LIST), {337, 21, 351, 358}},
                                 {&ControlOf<CTavListCtrl>(dlg, IDC_RESULT_LIST), {612, 53, 626, 274}}};
    for (const Expected& bar : expected)
    {
        RECT rect{};
        bar.list->m_ScrollV.GetWindowRect(&rect);
        dlg.ScreenToClient(&rect);
        // At another scale: at the list's right edge, as tall as the list, its width scaled.
        EXPECT_EQ(rect.left, Scaled(bar.rect.left));
        EXPECT_EQ(rect.top, Scaled(bar.rect.top));
        EXPECT_EQ(rect.right, Scaled(bar.rect.left) + Scaled(bar.rect.right - bar.rect.left));
        EXPECT_EQ(rect.bottom, Scaled(bar.rect.bottom));
    }

    // 60 rows outgrow the unit list: it keeps its scroll range and its style, but its own bar
    // takes no room, nothing of it shows and the pointer there is over the rows.
    CTavListCtrl& units = ControlOf<CTavListCtrl>(dlg, IDC_UNIT_LIST);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(::GetScrollInfo(units.m_hWnd, SB_VERT, &info));
    EXPECT_EQ(info.nMax, kLongUnits - 1);
    EXPECT_TRUE(units.GetStyle() & WS_VSCROLL);
    RECT client{};
    units.GetClientRect(&client);
    POINT nearEdge{client.right - 2, client.bottom / 2};
    units.ClientToScreen(&nearEdge);
    EXPECT_EQ(units.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(nearEdge.x, nearEdge.y)), HTCLIENT);
    // Below the selected first row, right of the short names: only the list's background.
    const int nBarWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    for (int y = RowBounds(units, 1).top; y < client.bottom - 2; y += 5)
        for (int x = client.right - nBarWidth; x < client.right; x += 3)
            ASSERT_EQ(ScreenPixel(units.m_hWnd, x, y), kListBack) << x << "," << y;

    SelectCategory(2);
    RECT fewClient{};
    units.GetClientRect(&fewClient);
    EXPECT_EQ(client.right, fewClient.right) << "a long list has the client width of a short one";
    EXPECT_EQ(client.bottom, fewClient.bottom);
}

TEST_F(SkinnedListTest, ThumbFollowsTheListFromTopToEnd)
{
    CTavListCtrl& units = ControlOf<CTavListCtrl>(dlg, IDC_UNIT_LIST);
    CTavScrollbarV& bar = UnitBar();
    const int nMin = bar.GetThumbTopMin();
    const int nMax = bar.GetThumbTopMax();
    EXPECT_EQ(nMin, 2 + 17 - 1);
    EXPECT_EQ(nMax, BarHeight() - 2 - 17 - 37 + 1);
    EXPECT_EQ(bar.GetThumbTop(), nMin);
    EXPECT_EQ(ScreenPixel(bar.m_hWnd, 7, nMin + 18), BitmapPixel(3373, 7, 18));

    const int nLimit = kLongUnits - RowsPerPage(units);
    const int nTravel = BarHeight() - 2 - 17 - 37 - 17 - 2;
    units.SendMessage(LVM_SCROLL, 0, 0);
    units.EnsureVisible(nLimit / 2 + RowsPerPage(units) - 1, FALSE);
    Repaint();
    const int nMiddle = TopRow(units);
    EXPECT_EQ(bar.GetThumbTop(), static_cast<int>(static_cast<double>(nTravel) / nLimit * nMiddle) +
                                     nMin);

    units.EnsureVisible(kLongUnits - 1, FALSE);
    Repaint();
    EXPECT_EQ(bar.GetThumbTop(), nMax) << "the end of the list puts the thumb at the bottom";
    EXPECT_EQ(ScreenPixel(bar.m_hWnd, 7, nMax + 18), BitmapPixel(3373, 7, 18));

    // Rows that all fit: the thumb rests at the bottom and the arrows do nothing.
    SelectCategory(2);
    ASSERT_EQ(units.GetItemCount(), 2);
    EXPECT_EQ(bar.GetThumbTop(), nMax);
    Click(bar, DownArrowY());
    EXPECT_EQ(TopRow(units), 0);
    EXPECT_EQ(bar.GetThumbTop(), nMax);
}

TEST_F(SkinnedListTest, ArrowsStepOneLineAndRepeatWhileHeld)
{
    CTavListCtrl& units = ControlOf<CTavListCtrl>(dlg, IDC_UNIT_LIST);
    CTavScrollbarV& bar = UnitBar();

    Click(bar, DownArrowY());
    PumpFor(std::chrono::milliseconds(400));
    EXPECT_EQ(TopRow(units), 1) << "a quick click is one line, with no repeat after it";
    Click(bar, UpArrowY());
    EXPECT_EQ(TopRow(units), 0);
    // The second click of a double click counts like the first.
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(7, DownArrowY()));
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, DownArrowY()));
    bar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(7, DownArrowY()));
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, DownArrowY()));
    EXPECT_EQ(TopRow(units), 2);
    Click(bar, UpArrowY());
    Click(bar, UpArrowY());

    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(7, DownArrowY()));
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(TopRow(units), 0) << "nothing before the start delay";
    PumpFor(std::chrono::milliseconds(700));
    const int nHeld = TopRow(units);
    EXPECT_GE(nHeld, 4);
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, DownArrowY()));
    EXPECT_EQ(TopRow(units), nHeld + 1) << "one more at the release on the arrow";
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(TopRow(units), nHeld + 1);

    // The capture taken away (a message box, another program) stops the repeat.
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(7, DownArrowY()));
    PumpFor(std::chrono::milliseconds(500));
    ::SetCapture(dlg.m_hWnd);
    ::ReleaseCapture();
    const int nStopped = TopRow(units);
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(TopRow(units), nStopped);
}

TEST_F(SkinnedListTest, TrackClicksPageTowardThePointer)
{
    CTavListCtrl& units = ControlOf<CTavListCtrl>(dlg, IDC_UNIT_LIST);
    CTavScrollbarV& bar = UnitBar();
    const int nPage = RowsPerPage(units);
    const int nLimit = kLongUnits - nPage;
    ASSERT_LT(nPage, nLimit);
    Click(bar, bar.GetThumbTop() + 37 + 20);
    EXPECT_EQ(TopRow(units), nPage);
    Click(bar, bar.GetThumbTop() + 37 + 20);
    EXPECT_EQ(TopRow(units), nLimit);
    Click(bar, bar.GetThumbTop() - 5);
    EXPECT_EQ(TopRow(units), nLimit - nPage);

    // A press on an arrow released over the track is a page too.
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(7, UpArrowY()));
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, bar.GetThumbTop() + 37 + 10));
    EXPECT_EQ(TopRow(units), nLimit);

    // A release whose press was elsewhere does nothing.
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, bar.GetThumbTop() - 5));
    EXPECT_EQ(TopRow(units), nLimit);

    // A double click on the track pages twice, toward the pointer only: from the top, a
    // pointer just below the thumb is passed by the first page, so the second does nothing.
    units.EnsureVisible(0, FALSE);
    Repaint();
    const int y = bar.GetThumbTop() + 37 + 2;
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(7, y));
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, y));
    bar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(7, y));
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, y));
    EXPECT_EQ(TopRow(units), nPage);
    const int yFar = BarHeight() - 30;
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(7, yFar));
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, yFar));
    bar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(7, yFar));
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, yFar));
    EXPECT_EQ(TopRow(units), std::min(3 * nPage, nLimit));

    // The wheel over the bar scrolls the list.
    const int nBefore = TopRow(units);
    bar.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), At(7, 100));
    EXPECT_LT(TopRow(units), nBefore);
}

// A drag to the middle lands the list within a row of the proportional place and leaves the
// thumb where it was let go, however tall the list's rows are.
TEST_F(SkinnedListTest, DraggingTheThumbLandsTheListInProportion)
{
    for (CTavListCtrl* list : {static_cast<CTavListCtrl*>(&UnitList(dlg)),
                               static_cast<CTavListCtrl*>(&ResultList(dlg))})
    {
        CTavScrollbarV& bar = list->m_ScrollV;
        const int nLimit = list->GetItemCount() - RowsPerPage(*list);
        ASSERT_GT(nLimit, 10);
        const int nMin = bar.GetThumbTopMin();
        const int nTravel = bar.GetThumbTopMax() - nMin - 2;
        for (double share : {0.3, 0.7})
        {
            SCOPED_TRACE(share);
            const int nDrop = nMin + static_cast<int>(share * nTravel);
            bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(7, bar.GetThumbTop() + 18));
            bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(7, nDrop + 18));
            Repaint(); // the list's own paint must not move the thumb being dragged
            EXPECT_EQ(bar.GetThumbTop(), nDrop);
            bar.SendMessage(WM_LBUTTONUP, 0, At(7, nDrop + 18));
            EXPECT_NEAR(TopRow(*list), share * nLimit, 1.0);
            EXPECT_EQ(bar.GetThumbTop(), nDrop) << "the thumb jumped when released";
        }
    }
}

TEST_F(SkinnedListTest, DraggingTheThumbIsClampedAndReachesBothEnds)
{
    CTavListCtrl& units = ControlOf<CTavListCtrl>(dlg, IDC_UNIT_LIST);
    CTavScrollbarV& bar = UnitBar();
    const int nGrab = bar.GetThumbTop() + 18;
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(7, nGrab));
    bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(7, BarHeight() + 300));
    EXPECT_EQ(bar.GetThumbTop(), bar.GetThumbTopMax());
    EXPECT_EQ(TopRow(units), kLongUnits - RowsPerPage(units));
    bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(7, -300));
    EXPECT_EQ(bar.GetThumbTop(), bar.GetThumbTopMin());
    EXPECT_EQ(TopRow(units), 0);
    bar.SendMessage(WM_LBUTTONUP, 0, At(7, -300));
    EXPECT_EQ(TopRow(units), 0);

    // The wheel scrolls the list; the thumb follows at the list's next paint.
    units.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), At(250, 200));
    Repaint();
    EXPECT_GT(TopRow(units), 0);
    EXPECT_GT(bar.GetThumbTop(), bar.GetThumbTopMin());
}

// The paint's clear-and-restore of the selection must not look like a new choice: the
// category's units are not rewritten and the value being typed stays.
TEST_F(SkinnedListTest, PaintingTheFocusedListChangesNothing)
{
    ClickButton(dlg, IDC_KEY_CLEAR);
    ClickButton(dlg, IDC_KEY_0 + 3);
    ClickButton(dlg, IDC_KEY_POINT);
    ASSERT_EQ(ValueField(dlg).GetWindowText(), L"3.");
    CategoryList(dlg).SetFocus();
    sqlite3* db = dlg.GetCatalogue().Database().Handle();
    const int nChangesBefore = sqlite3_total_changes(db);
    for (int i = 0; i < 5; ++i)
        CategoryList(dlg).RedrawWindow();
    Repaint();
    EXPECT_EQ(ScreenPixel(CategoryList(dlg).m_hWnd, RowBounds(CategoryList(dlg), 0).right - 6,
                          (RowBounds(CategoryList(dlg), 0).top +
                           RowBounds(CategoryList(dlg), 0).bottom) / 2),
              kFocusedSelBack);
    EXPECT_EQ(sqlite3_total_changes(db), nChangesBefore);
    EXPECT_EQ(ValueField(dlg).GetWindowText(), L"3.");
    EXPECT_EQ(CategoryList(dlg).GetNextItem(-1, LVNI_SELECTED), 0);
}

TEST_F(SkinnedListTest, ResultRowsTellTheirValueInATooltip)
{
    auto& results = ControlOf<CTavListCtrl_Result>(dlg, IDC_RESULT_LIST);
    auto center = [&](int row) {
        const RECT bounds = RowBounds(results, row);
        return POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    };
    auto tipText = [&](UINT code) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = nullptr;
        info.hdr.idFrom = 1;
        info.hdr.code = code;
        results.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&info));
        return std::wstring(info.lpszText ? info.lpszText : L"");
    };

    // A new row first closes the tip, then opens its own over the row's bounds.
    TOOLINFOW tool{};
    EXPECT_EQ(results.OnToolHitTest(center(2), &tool), -1);
    EXPECT_EQ(results.OnToolHitTest(center(2), &tool), 1);
    EXPECT_EQ(tool.hwnd, results.m_hWnd);
    EXPECT_EQ(tool.uId, 1u);
    EXPECT_EQ(tool.lpszText, LPSTR_TEXTCALLBACKW);
    const RECT bounds = RowBounds(results, 2);
    EXPECT_TRUE(::EqualRect(&tool.rect, &bounds));
    const std::wstring strRow2 = results.GetItemText(2, 0);
    ASSERT_EQ(strRow2.substr(0, 5), L"Unit ");
    const int nUnit = std::stoi(strRow2.substr(5));
    EXPECT_EQ(tipText(TTN_NEEDTEXTW), strRow2 + L": " + FormatValue(1.0 / (nUnit + 1), 64));

    EXPECT_EQ(results.OnToolHitTest(center(3), &tool), -1);
    EXPECT_EQ(results.OnToolHitTest(center(3), &tool), 1);
    EXPECT_EQ(results.m_nTipItem, 3);
    EXPECT_EQ(results.OnToolHitTest(POINT{5, 1000}, &tool), -1) << "below the rows";

    // The unit with the 95-character name: cut at 79 characters.
    int nLongRow = -1;
    for (int row = 0; row < results.GetItemCount(); ++row)
        if (results.GetItemText(row, 0).size() > 80)
            nLongRow = row;
    ASSERT_GE(nLongRow, 0);
    results.EnsureVisible(nLongRow, FALSE);
    results.OnToolHitTest(center(nLongRow), &tool);
    ASSERT_EQ(results.OnToolHitTest(center(nLongRow), &tool), 1);
    const std::wstring strLong = tipText(TTN_NEEDTEXTW);
    EXPECT_EQ(strLong.size(), 79u);
    EXPECT_EQ(strLong, results.GetItemText(nLongRow, 0).substr(0, 79));

    // A value of exactly 0 shows nothing.
    ClickButton(dlg, IDC_KEY_CLEAR);
    EXPECT_EQ(tipText(TTN_NEEDTEXTW), L"");
}

// The pointer moving over the rows, through the message loop's tool filter.
TEST_F(SkinnedListTest, MovingThePointerOverResultRowsRegistersOneToolPerRow)
{
    auto& results = ControlOf<CTavListCtrl_Result>(dlg, IDC_RESULT_LIST);
    auto moveTo = [&](int row) {
        const RECT bounds = RowBounds(results, row);
        POINT point{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
        POINT screen = point;
        results.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        for (int i = 0; i < 3; ++i)
        {
            MSG msg{results.m_hWnd, WM_MOUSEMOVE, 0, At(point.x, point.y), 0, screen};
            AfxFilterToolTipMessage(&msg);
        }
    };
    moveTo(1);
    // The framework's tooltip window, not the main window's own one for its buttons.
    HWND hToolTip = nullptr;
    for (HWND hWnd = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); hWnd;
         hWnd = ::FindWindowExW(nullptr, hWnd, TOOLTIPS_CLASSW, nullptr))
        if (::GetWindow(hWnd, GW_OWNER) == dlg.m_hWnd && hWnd != ButtonToolTips(dlg))
            hToolTip = hWnd;
    ASSERT_NE(hToolTip, nullptr);
    auto currentRect = [&] {
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        EXPECT_TRUE(::SendMessageW(hToolTip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
        return tool.rect;
    };
    EXPECT_EQ(::SendMessageW(hToolTip, TTM_GETTOOLCOUNT, 0, 0), 1);
    RECT rect = currentRect();
    RECT expected = RowBounds(results, 1);
    EXPECT_TRUE(::EqualRect(&rect, &expected));
    moveTo(4);
    EXPECT_EQ(::SendMessageW(hToolTip, TTM_GETTOOLCOUNT, 0, 0), 1);
    rect = currentRect();
    expected = RowBounds(results, 4);
    EXPECT_TRUE(::EqualRect(&rect, &expected));
}
