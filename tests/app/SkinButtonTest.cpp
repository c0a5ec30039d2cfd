// The bitmap buttons of the real main window.
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalScript.h"

#include "app/MainDlg.h"

#include <gtest/gtest.h>

using SkinButtonTest = SampleCatalogueTest;

TEST_F(SkinButtonTest, ButtonsTakeOneFrameOfTheirStripAndPressedWinsOverHovered)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    HWND key = dlg.GetDlgItemHwnd(6105);
    const int nKey = Scaled(32);
    RECT rect;
    ::GetWindowRect(key, &rect);
    EXPECT_EQ(rect.right - rect.left, nKey);
    EXPECT_EQ(rect.bottom - rect.top, nKey);
    ::GetWindowRect(dlg.GetDlgItemHwnd(IDCANCEL), &rect);
    EXPECT_EQ(rect.right - rect.left, Scaled(46));
    EXPECT_EQ(rect.bottom - rect.top, Scaled(28));

    // Which frame of the 96-DPI strip the button draws, scaled, hovered or not, pressed or not.
    HBITMAP strip = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                      MAKEINTRESOURCEW(3305), IMAGE_BITMAP, 0, 0,
                                                      LR_LOADMAP3DCOLORS));
    ASSERT_NE(strip, nullptr);
    auto frameDrawn = [&](UINT state) {
        HDC screen = ::GetDC(nullptr);
        HDC target = ::CreateCompatibleDC(screen);
        HBITMAP canvas = ::CreateCompatibleBitmap(screen, nKey, nKey);
        HGDIOBJ oldCanvas = ::SelectObject(target, canvas);
        HDC source = ::CreateCompatibleDC(screen);
        HGDIOBJ oldStrip = ::SelectObject(source, strip);
        DRAWITEMSTRUCT item{ODT_BUTTON, 6105, 0, ODA_DRAWENTIRE, state, key, target,
                            {0, 0, nKey, nKey}, 0};
        ::SendMessageW(key, OCM_DRAWITEM, 6105, reinterpret_cast<LPARAM>(&item));
        // The frame the drawing matches best: at every pixel sampled at 96 DPI; at another
        // scale, where the artwork is drawn again, at all but a few on the edges of the rim.
        int frame = -1, nFewest = 0, nSampled = 0;
        for (int f = 0; f < 3; ++f)
        {
            int nDiffering = 0;
            nSampled = 0;
            for (int y = 0; y < 32; y += 3)
                for (int x = 0; x < 32; x += 3, ++nSampled)
                    nDiffering += !ShowsSkinColour(::GetPixel(target, Scaled(x), Scaled(y)),
                                                   source, POINT{f * 32 + x, y});
            if (frame < 0 || nDiffering < nFewest)
            {
                frame = f;
                nFewest = nDiffering;
            }
        }
        if (nFewest > (ScreenDpi() == 96 ? 0 : nSampled / 6))
            frame = -1;
        ::SelectObject(source, oldStrip);
        ::DeleteDC(source);
        ::SelectObject(target, oldCanvas);
        ::DeleteObject(canvas);
        ::DeleteDC(target);
        ::ReleaseDC(nullptr, screen);
        return frame;
    };
    EXPECT_EQ(frameDrawn(0), 0);
    EXPECT_EQ(frameDrawn(ODS_SELECTED), 1);
    ::SendMessageW(key, WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(frameDrawn(0), 2);
    EXPECT_EQ(frameDrawn(ODS_SELECTED), 1) << "pressed wins over hovered";
    ::SendMessageW(key, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(frameDrawn(ODS_FOCUS), 0);
    ::DeleteObject(strip);

    // A hover repaints the frame only: erasing in the dialog's colour first would flash.
    auto erasesNothing = [](HWND window) {
        HDC screen = ::GetDC(nullptr);
        HDC target = ::CreateCompatibleDC(screen);
        HBITMAP canvas = ::CreateCompatibleBitmap(screen, 8, 8);
        HGDIOBJ oldCanvas = ::SelectObject(target, canvas);
        const COLORREF marker = RGB(1, 2, 3);
        ::SetPixel(target, 2, 2, marker);
        const LRESULT erased = ::SendMessageW(window, WM_ERASEBKGND,
                                              reinterpret_cast<WPARAM>(target), 0);
        const bool untouched = erased != 0 && ::GetPixel(target, 2, 2) == marker;
        ::SelectObject(target, oldCanvas);
        ::DeleteObject(canvas);
        ::DeleteDC(target);
        ::ReleaseDC(nullptr, screen);
        return untouched;
    };
    EXPECT_TRUE(erasesNothing(key));
    EXPECT_TRUE(erasesNothing(dlg.GetDlgItemHwnd(IDCANCEL)));
    EXPECT_TRUE(erasesNothing(ControlOf<CTavListCtrl>(dlg, IDC_UNIT_LIST).m_ScrollV.m_hWnd));
    dlg.DestroyWindow();
}

TEST_F(SkinButtonTest, DoubleClickOnAKeyEntersItTwice)
{
    CMainDlg dlg;
    std::wstring shown;
    RunModalScript(dlg, {[] { PressKey(VK_ESCAPE); },
                         [&] {
                             HWND key = dlg.GetDlgItemHwnd(6105);
                             const LPARAM point = MAKELPARAM(10, 10);
                             ::PostMessageW(key, WM_LBUTTONDOWN, MK_LBUTTON, point);
                             ::PostMessageW(key, WM_LBUTTONUP, 0, point);
                             ::PostMessageW(key, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
                         },
                         // The user lets go after the double click has been handled.
                         [&] { ::PostMessageW(dlg.GetDlgItemHwnd(6105), WM_LBUTTONUP, 0, MAKELPARAM(10, 10)); },
                         [&] { shown = ValueField(dlg).GetWindowText(); }});
    EXPECT_EQ(shown, L"55");
}
