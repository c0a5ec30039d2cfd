// The main window on its background, read back from the screen.
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalScript.h"

#include "app/AboutDlg.h"
#include "app/MainDlg.h"

#include "framework/ModalSeam.h"

#include "store/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <set>
#include <utility>

namespace
{
struct Place
{
    int id, x, y, width, height;
};

// Pixels of the 96-DPI background bitmap against the same client pixels, scaled, on the screen.
int MismatchedBackgroundPixels(HWND window, const std::vector<POINT>& points)
{
    HBITMAP background = static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MAIN_BACKGROUND), IMAGE_BITMAP, 0, 0, 0));
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, background);
    int mismatched = 0;
    for (POINT point : points)
    {
        POINT onScreen{Scaled(point.x), Scaled(point.y)};
        ::ClientToScreen(window, &onScreen);
        if (!ShowsSkinColour(::GetPixel(screen, onScreen.x, onScreen.y), memory, point))
        {
            ADD_FAILURE() << "background differs at " << point.x << "," << point.y;
            ++mismatched;
        }
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(background);
    ::ReleaseDC(nullptr, screen);
    return mismatched;
}

// The width of `text` in `font`.
int TextWidth(HWND control, HFONT font, const std::wstring& text)
{
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return size.cx;
}

// The control's font as it was at 96 DPI: its point size, found back from its height now, at
// the height that size has at 96 DPI.
LOGFONTW FontAt96(const CWnd& control)
{
    LOGFONTW logFont{};
    ::GetObjectW(control.GetFont(), sizeof logFont, &logFont);
    int points = 1;
    while (::MulDiv(points, ScreenDpi(), 72) < std::abs(logFont.lfHeight))
        ++points;
    logFont.lfHeight = -::MulDiv(points, 96, 72);
    return logFont;
}

// The room an edit field had for its text at 96 DPI: that of a copy at its size there.
int FieldRoomAt96(const CWnd& field, HFONT font96, int width, int height)
{
    HWND copy = ::CreateWindowExW(field.GetExStyle(), L"EDIT", L"",
                                  WS_POPUP | (field.GetStyle() & 0xFFFF), 0, 0, width, height,
                                  nullptr, nullptr, nullptr, nullptr);
    ::SendMessageW(copy, WM_SETFONT, reinterpret_cast<WPARAM>(font96), FALSE);
    RECT rect{};
    ::SendMessageW(copy, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    ::DestroyWindow(copy);
    return rect.right - rect.left;
}

// The list view's own margins before a row's text, which it does not scale: an indent, then
// the small icon and a gap after it, or a wider gap in a list without icons.
int RowMargins(int iconWidth) { return 2 + (iconWidth ? iconWidth + 2 : 5); }
// A heading's margin on either side at 96 DPI.
constexpr int kHeadingMargin = 2;

using SkinLayoutTest = SampleCatalogueTest;
} // namespace

TEST_F(SkinLayoutTest, ControlsStandOnTheirPixelsOfTheBackground)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    // At 96 DPI. At another scale the lists and fields, which abut each other and the bars,
    // have each edge scaled; a button stands at its scaled corner in its strip's scaled frame.
    const Place abutting[] = {
        {IDC_CATEGORY_LIST, 13, 21, 152, 337}, {IDC_UNIT_LIST, 185, 21, 152, 337},
        {IDC_RESULT_LIST, 375, 53, 237, 221},  {IDC_STATUS, 1, 377, 636, 19},
        {IDC_VALUE, 481, 25, 127, 21},         {IDC_SOURCE_UNIT, 381, 28, 99, 21},
    };
    const Place buttons[] = {
        {IDCANCEL, 568, 399, 46, 28},          {IDC_RENAME_CATEGORY, 11, 399, 46, 28},
        {IDC_DELETE_UNIT, 292, 399, 46, 28},   {IDC_NEW_CATEGORY, 64, 399, 46, 28},
        {IDC_DELETE_CATEGORY, 116, 399, 46, 28}, {IDC_EDIT_UNIT, 187, 399, 46, 28},
        {IDC_NEW_UNIT, 240, 399, 46, 28},      {IDC_ABOUT, 520, 397, 32, 32},
        {6101, 381, 286, 32, 32},              {6102, 413, 286, 32, 32},
        {6103, 445, 286, 32, 32},              {6104, 477, 286, 32, 32},
        {6105, 509, 286, 32, 32},              {6106, 541, 286, 32, 32},
        {6107, 381, 318, 32, 32},              {6108, 413, 318, 32, 32},
        {6109, 445, 318, 32, 32},              {6100, 477, 318, 32, 32},
        {IDC_KEY_POINT, 509, 318, 32, 32},     {IDC_KEY_SIGN, 541, 318, 32, 32},
        {IDC_KEY_BACKSPACE, 589, 286, 32, 32}, {IDC_KEY_CLEAR, 589, 318, 32, 32},
    };
    auto expectAt = [&](const Place& place, const RECT& expected) {
        const RECT rect = ClientRectOf(dlg.m_hWnd, dlg.GetDlgItemHwnd(place.id));
        EXPECT_EQ(rect.left, expected.left) << place.id;
        EXPECT_EQ(rect.top, expected.top) << place.id;
        EXPECT_EQ(rect.right, expected.right) << place.id;
        EXPECT_EQ(rect.bottom, expected.bottom) << place.id;
    };
    for (const Place& place : abutting)
        expectAt(place, ScaledRect(place.x, place.y, place.width, place.height));
    for (const Place& place : buttons)
        expectAt(place, RECT{Scaled(place.x), Scaled(place.y),
                             Scaled(place.x) + Scaled(place.width),
                             Scaled(place.y) + Scaled(place.height)});

    // The columns reach the lists' right borders at every scale.
    for (const auto& [id, nColumns] : {std::pair{IDC_CATEGORY_LIST, 1}, {IDC_RESULT_LIST, 2}})
    {
        HWND list = dlg.GetDlgItemHwnd(id);
        RECT client{};
        ::GetClientRect(list, &client);
        int width = 0;
        for (int i = 0; i < nColumns; ++i)
            width += static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
        EXPECT_EQ(width, client.right) << id;
    }
    dlg.DestroyWindow();
}

TEST_F(SkinLayoutTest, BackgroundIsPaintedAgainAfterMinimiseAndRestore)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    // Points of the panels and bands that no control covers, of the keypad's ground between
    // the keys and of the lists' own background below their rows.
    const std::vector<POINT> points = {{4, 4},     {182, 200}, {360, 150}, {365, 10},
                                       {630, 280}, {200, 372}, {180, 412}, {470, 412},
                                       {620, 425}, {10, 200},  {370, 200}, {378, 300},
                                       {600, 283}, {580, 353}, {500, 15},  {620, 35},
                                       {600, 373}, {90, 340},  {260, 340}, {450, 250}};
    ::SetWindowPos(dlg.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::UpdateWindow(dlg.m_hWnd);
    EXPECT_EQ(MismatchedBackgroundPixels(dlg.m_hWnd, points), 0);
    dlg.ShowWindow(SW_MINIMIZE);
    dlg.ShowWindow(SW_RESTORE);
    ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(MismatchedBackgroundPixels(dlg.m_hWnd, points), 0);
    dlg.DestroyWindow();
}

TEST_F(SkinLayoutTest, AboutButtonOpensTheSkinnedAboutBox)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    RECT client{}, ok{};
    std::wstring caption;
    long centreOffset = -1;
    {
        ScopedModalDialogHandler handler([&](CDialog& shown) {
            if (dynamic_cast<CAboutDlg*>(&shown))
            {
                shown.GetClientRect(&client);
                ok = ClientRectOf(shown.m_hWnd, shown.GetDlgItemHwnd(IDOK));
                caption = shown.GetWindowText();
                centreOffset = DistanceFromWorkAreaCentre(shown.m_hWnd);
            }
            shown.EndDialog(IDOK);
        });
        ::SendMessageW(dlg.GetDlgItemHwnd(IDC_ABOUT), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(caption, L"Kalvo version 1.00");
    EXPECT_EQ(client.right, Scaled(442));
    EXPECT_EQ(client.bottom, Scaled(226));
    // One frame of the OK strip, at its scaled place.
    EXPECT_EQ(ok.left, Scaled(208));
    EXPECT_EQ(ok.top, Scaled(173));
    EXPECT_EQ(ok.right - ok.left, Scaled(46));
    EXPECT_EQ(ok.bottom - ok.top, Scaled(28));
    EXPECT_GE(centreOffset, 0);
    EXPECT_LE(centreOffset, 4); // where its template centres it, not left of it
    dlg.DestroyWindow();
}

// The starter catalogue's texts fit their columns and fields at every scale where they fit at
// 96 DPI; many names are cut even there. Whether a text fitted at 96 DPI is measured with the
// font and room it had there, and a 96-DPI run checks that measure against the screen's own.
TEST_F(SkinLayoutTest, TextsWholeAt96DpiStayWholeAtEveryScale)
{
    WriteBytes(catalogue.MdbPath(), ReadBytes(FromUtf8(KALVO_STARTER_CATALOGUE)));
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    std::set<std::wstring> cut, cutAt96;
    int nTexts = 0;
    auto fit = [&](const wchar_t* where, const CWnd& control,
                   const std::vector<std::wstring>& texts, int room, int room96) {
        CGdiFont font96;
        font96.CreateFontIndirect(FontAt96(control));
        for (const std::wstring& text : texts)
        {
            ++nTexts;
            if (TextWidth(control.m_hWnd, control.GetFont(), text) > room)
                cut.insert(where + (L": " + text));
            if (TextWidth(control.m_hWnd, font96, text) > room96)
                cutAt96.insert(where + (L": " + text));
        }
    };
    struct Column
    {
        const wchar_t* where;
        CTavListCtrl& list;
        int index, width96;
    };
    auto& categories = ControlOf<CTavListCtrl>(dlg, IDC_CATEGORY_LIST);
    auto& units = ControlOf<CTavListCtrl>(dlg, IDC_UNIT_LIST);
    auto& results = ControlOf<CTavListCtrl>(dlg, IDC_RESULT_LIST);
    const Column columns[] = {{L"category", categories, 0, 148},
                              {L"unit", units, 0, 148},
                              {L"result", results, 0, 147},
                              {L"result", results, 1, 86}};
    auto fitRows = [&](const Column& column) {
        HIMAGELIST icons = ListView_GetImageList(column.list.m_hWnd, LVSIL_SMALL);
        int iconWidth = 0, iconHeight = 0;
        if (icons)
            ImageList_GetIconSize(icons, &iconWidth, &iconHeight);
        const int width = static_cast<int>(column.list.SendMessage(LVM_GETCOLUMNWIDTH, 0));
        fit(column.where, column.list, RowTexts(column.list), width - RowMargins(iconWidth),
            column.width96 - RowMargins(icons ? 16 : 0));
    };
    auto fitField = [&](const wchar_t* where, const CEdit& field, int width96, int height96) {
        RECT room{};
        field.SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        CGdiFont font96;
        font96.CreateFontIndirect(FontAt96(field));
        fit(where, field, {field.GetWindowText()}, room.right - room.left,
            FieldRoomAt96(field, font96, width96, height96));
    };

    for (const Column& column : columns)
    {
        const CTavHeaderCtrl& header = column.list.m_Header;
        wchar_t text[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        Header_GetItem(header.m_hWnd, column.index, &item);
        RECT rect{};
        Header_GetItemRect(header.m_hWnd, column.index, &rect);
        fit(L"heading", header, {text}, rect.right - rect.left - 2 * Scaled(kHeadingMargin),
            column.width96 - 2 * kHeadingMargin);
    }
    const int nCategories = categories.GetItemCount();
    ASSERT_GE(nCategories, 25);
    fitRows(columns[0]);
    for (int row = 0; row < nCategories; ++row)
    {
        categories.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        fitRows(columns[1]);
        fitRows(columns[2]);
        fitField(L"status", StatusField(dlg), 636, 19);
        fitField(L"source unit", SourceUnitField(dlg), 99, 21);
    }
    EXPECT_GE(nTexts, 300);
    if (ScreenDpi() == 96)
    {
        EXPECT_EQ(cut, cutAt96) << "the measure at 96 DPI differs from the screen's own";
    }
    std::vector<std::wstring> newlyCut;
    std::set_difference(cut.begin(), cut.end(), cutAt96.begin(), cutAt96.end(),
                        std::back_inserter(newlyCut));
    EXPECT_EQ(newlyCut, std::vector<std::wstring>{});
    dlg.DestroyWindow();
}
