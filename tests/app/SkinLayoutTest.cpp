// The main window on its background, read back from the screen.
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalScript.h"

#include "app/AboutDlg.h"
#include "app/MainDlg.h"

#include "framework/ModalSeam.h"

#include <gtest/gtest.h>

namespace
{
struct Place
{
    int id, x, y, width, height;
};

// Pixels of the background bitmap against the same client pixels on the screen.
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
        POINT onScreen = point;
        ::ClientToScreen(window, &onScreen);
        if (::GetPixel(screen, onScreen.x, onScreen.y) != ::GetPixel(memory, point.x, point.y))
            ++mismatched;
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(background);
    ::ReleaseDC(nullptr, screen);
    return mismatched;
}

using SkinLayoutTest = SampleCatalogueTest;
} // namespace

TEST_F(SkinLayoutTest, ControlsStandOnTheirPixelsOfTheBackground)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    const Place places[] = {
        {IDC_CATEGORY_LIST, 13, 21, 152, 337}, {IDC_UNIT_LIST, 185, 21, 152, 337},
        {IDC_RESULT_LIST, 375, 53, 237, 221},  {IDCANCEL, 568, 399, 46, 28},
        {IDC_RENAME_CATEGORY, 11, 399, 46, 28}, {IDC_DELETE_UNIT, 292, 399, 46, 28},
        {IDC_ABOUT, 520, 397, 32, 32},         {IDC_STATUS, 1, 377, 636, 19},
        {IDC_VALUE, 481, 25, 127, 21},         {IDC_SOURCE_UNIT, 381, 28, 99, 21},
        {6101, 381, 286, 32, 32},              {6100, 477, 318, 32, 32},
        {IDC_KEY_BACKSPACE, 589, 286, 32, 32}, {IDC_KEY_CLEAR, 589, 318, 32, 32},
    };
    for (const Place& place : places)
    {
        const RECT rect = ClientRectOf(dlg.m_hWnd, dlg.GetDlgItemHwnd(place.id));
        EXPECT_EQ(rect.left, place.x) << place.id;
        EXPECT_EQ(rect.top, place.y) << place.id;
        EXPECT_EQ(rect.right - rect.left, place.width) << place.id;
        EXPECT_EQ(rect.bottom - rect.top, place.height) << place.id;
    }
    dlg.DestroyWindow();
}

TEST_F(SkinLayoutTest, BackgroundIsPaintedAgainAfterMinimiseAndRestore)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    // Points of the panels and bands that no control covers.
    const std::vector<POINT> points = {{4, 4}, {182, 200}, {360, 150}, {365, 10}, {630, 280},
                                       {200, 372}, {180, 412}, {470, 412}, {620, 425}};
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
    RECT client{};
    std::wstring caption;
    long centreOffset = -1;
    {
        ScopedModalDialogHandler handler([&](CDialog& shown) {
            if (dynamic_cast<CAboutDlg*>(&shown))
            {
                shown.GetClientRect(&client);
                caption = shown.GetWindowText();
                centreOffset = DistanceFromWorkAreaCentre(shown.m_hWnd);
            }
            shown.EndDialog(IDOK);
        });
        ::SendMessageW(dlg.GetDlgItemHwnd(IDC_ABOUT), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(caption, L"Kalvo version 1.00");
    EXPECT_EQ(client.right, 442);
    EXPECT_EQ(client.bottom, 226);
    EXPECT_GE(centreOffset, 0);
    EXPECT_LE(centreOffset, 4); // where its template centres it, not left of it
    dlg.DestroyWindow();
}
