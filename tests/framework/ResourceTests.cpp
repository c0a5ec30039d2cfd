// Owners of GDI objects, image lists, menus and tooltips release what they hold; the list
// control wrapper talks to a real list view.
#include "tests/framework/TestResources.h"
#include "tests/framework/TestSupport.h"

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/ImageList.h"
#include "framework/Menu.h"
#include "framework/Pixels.h"
#include "framework/PngResource.h"
#include "framework/ToolTipCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

namespace
{

DWORD GdiObjects()
{
    return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
}

bool IsGdiObject(HGDIOBJ object)
{
    return ::GetObjectType(object) != 0;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    CMemoryDC dc;
    dc.CreateCompatibleDC(nullptr);
    CSelectObject select(dc, bitmap);
    return ::GetPixel(dc, x, y);
}

HBITMAP ImageBitmapOf(HIMAGELIST images)
{
    IMAGEINFO info{};
    ::ImageList_GetImageInfo(images, 0, &info);
    return info.hbmImage;
}

} // namespace

TEST(GdiOwners, EachOwnerDeletesItsObjectButAMovedOneDoesNot)
{
    std::vector<HGDIOBJ> handles;
    {
        CGdiBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
        LOGFONTW logFont{};
        logFont.lfHeight = -12;
        CGdiFont font;
        ASSERT_TRUE(font.CreateFontIndirect(logFont));
        CGdiBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadFromResource(IDB_GREYS));
        CMemoryDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        handles = {brush, font, bitmap, dc};

        CGdiBrush moved(std::move(brush));
        EXPECT_EQ(brush.GetSafeHandle(), nullptr);
        EXPECT_TRUE(IsGdiObject(moved));
        const HGDIOBJ original = ::GetCurrentObject(dc, OBJ_BRUSH);
        {
            CSelectObject select(dc, moved);
            EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), moved.GetSafeHandle());
        }
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), original);
    }
    for (HGDIOBJ handle : handles)
        EXPECT_FALSE(IsGdiObject(handle));
}

TEST(GdiOwners, RepeatedCreationLeavesTheProcessCountAlone)
{
    {
        std::vector<CGdiBrush> held(50);
        const DWORD before = GdiObjects();
        for (auto& brush : held)
            brush.CreateSolidBrush(RGB(4, 5, 6));
        if (GdiObjects() < before + 50)
            GTEST_SKIP() << "GetGuiResources does not count GDI objects here (Wine returns 0)";
    }
    const DWORD before = GdiObjects();
    for (int i = 0; i < 200; ++i)
    {
        CGdiBrush brush;
        brush.CreateSolidBrush(RGB(i, 0, 0));
        CGdiBitmap bitmap;
        bitmap.LoadFromResource(IDB_GREYS);
        CMemoryDC dc;
        dc.CreateCompatibleDC(nullptr);
        CImageList images;
        images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    }
    EXPECT_LE(GdiObjects(), before + 2);
}

TEST(GdiOwners, BitmapsLoadAsStoredOrWithTheirGreysMapped)
{
    CGdiBitmap plain;
    ASSERT_TRUE(plain.LoadFromResource(IDB_GREYS));
    EXPECT_EQ(plain.GetSize().cx, 16);
    EXPECT_EQ(plain.GetSize().cy, 8);
    EXPECT_EQ(PixelOf(plain, 2, 2), RGB(192, 192, 192));
    EXPECT_EQ(PixelOf(plain, 12, 2), RGB(128, 128, 128));

    CGdiBitmap mapped;
    ASSERT_TRUE(mapped.LoadMappedFromResource(IDB_GREYS));
    EXPECT_EQ(PixelOf(mapped, 2, 2), ::GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(PixelOf(mapped, 12, 2), ::GetSysColor(COLOR_3DSHADOW));
}

TEST(Pixels, PngResourcesDecodeExactlyAndAnythingElseToNothing)
{
    const CPixels png = AfxLoadPngResource(IDB_PNG_3X2);
    ASSERT_EQ(png.width, 3);
    ASSERT_EQ(png.height, 2);
    const std::vector<std::uint32_t> rows = {0xFF0000, 0x00FF00, 0x0000FF,
                                             0x0A141E, 0xC86432, 0xFFFFFF};
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(png.data[i] & 0xFFFFFF, rows[i]) << i;
    EXPECT_TRUE(AfxLoadPngResource(IDB_GREYS).data.empty());
    EXPECT_TRUE(AfxLoadPngResource(IDB_PNG_3X2 + 100).data.empty());

    // Through a bitmap and back, unchanged.
    CGdiBitmap bitmap;
    ASSERT_TRUE(bitmap.Attach(AfxCreateBitmapFromPixels(png)));
    const CPixels back = AfxReadBitmapPixels(bitmap);
    ASSERT_EQ(back.data.size(), png.data.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(back.data[i] & 0xFFFFFF, rows[i]) << i;
}

TEST(Pixels, ResamplingAveragesTheAreaEachNewPixelCovers)
{
    struct Case
    {
        int sourceWidth, sourceHeight;
        std::vector<std::uint32_t> source;
        int width, height;
        std::vector<std::uint32_t> expected;
    };
    const std::vector<Case> cases = {
        // A checked 2 x 2 block becomes its mean grey; a plain one keeps its colour.
        {4, 2, {0x000000, 0xFFFFFF, 0x102030, 0x102030, 0xFFFFFF, 0x000000, 0x102030, 0x102030},
         2, 1, {0x808080, 0x102030}},
        // Three columns into two: the middle one is shared half and half.
        {3, 1, {0x000000, 0x5A5A5A, 0xB4B4B4}, 2, 1, {0x1E1E1E, 0x969696}},
        // Enlarged, a plain picture stays plain.
        {1, 1, {0x336699}, 3, 2, std::vector<std::uint32_t>(6, 0x336699)},
    };
    for (const Case& c : cases)
    {
        CPixels source;
        source.width = c.sourceWidth;
        source.height = c.sourceHeight;
        source.data = c.source;
        const CPixels result = AfxResamplePixels(source, c.width, c.height);
        ASSERT_EQ(result.width, c.width);
        ASSERT_EQ(result.height, c.height);
        EXPECT_EQ(result.data, c.expected);
    }
    EXPECT_TRUE(AfxResamplePixels(CPixels{}, 4, 4).data.empty());
}

TEST(ImageList, StaysOwnedByItsObjectAfterTheListViewIsGone)
{
    CDialog dialog(IDD_TEST);
    ASSERT_TRUE(dialog.Create());
    CListCtrl list;
    ASSERT_TRUE(list.SubclassDlgItem(IDC_LIST, &dialog));
    HBITMAP images = nullptr;
    {
        CImageList small;
        ASSERT_TRUE(small.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
        HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
        EXPECT_EQ(small.Add(icon), 0);
        EXPECT_EQ(small.Add(icon), 1);
        images = ImageBitmapOf(small);

        list.SetImageList(small, LVSIL_SMALL);
        dialog.DestroyWindow();
        EXPECT_TRUE(IsGdiObject(images)) << "the list view destroyed an image list it does not own";
        EXPECT_EQ(small.GetImageCount(), 2);

        CImageList moved(std::move(small));
        EXPECT_EQ(small.GetSafeHandle(), nullptr);
        ASSERT_TRUE(moved.Create(32, 32, ILC_COLOR24, 1, 1));
        EXPECT_FALSE(IsGdiObject(images)) << "Create replaces and destroys the list held before";
        images = ImageBitmapOf(moved);
    }
    EXPECT_FALSE(IsGdiObject(images));
}

TEST(ListCtrl, TextOfAnyLengthAndItemDataComeBack)
{
    CDialog dialog(IDD_TEST);
    ASSERT_TRUE(dialog.Create());
    CListCtrl list;
    ASSERT_TRUE(list.SubclassDlgItem(IDC_LIST, &dialog));
    list.InsertColumn(0, L"Unit", LVCFMT_LEFT, 120);
    list.InsertColumn(1, L"Factor", LVCFMT_RIGHT, 80);
    EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 2);
    EXPECT_EQ(list.InsertItem(LVIF_TEXT | LVIF_PARAM, 0, L"foot", 0, 0, 0, 3048), 0);
    const std::wstring note(700, L'x'); // longer than GetItemText's first buffer
    list.SetItemText(0, 1, note);
    EXPECT_EQ(list.GetItemText(0, 1), note);
    EXPECT_EQ(list.GetItemData(0), 3048u);
}

TEST(Menu, SubmenusAreViewsAndTheMenuDiesWithItsObject)
{
    HMENU handle = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDM_TEST));
        handle = menu;
        CMenu* file = menu.GetSubMenu(0);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->GetMenuItemCount(), 4);
        EXPECT_EQ(menu.GetSubMenu(2), nullptr);
        file->SetDefaultItem(ID_FILE_CLOSE);
        EXPECT_EQ(::GetMenuDefaultItem(*file, FALSE, 0), static_cast<UINT>(ID_FILE_CLOSE));
    }
    EXPECT_FALSE(::IsMenu(handle));
}

TEST(ToolTip, ToolsAreNamedByTheirWindowAndTheTipDiesWithItsObject)
{
    CDialog dialog(IDD_TEST);
    ASSERT_TRUE(dialog.Create());
    HWND tip = nullptr;
    {
        CToolTipCtrl tooltip;
        ASSERT_TRUE(tooltip.Create(&dialog));
        tip = tooltip.m_hWnd;
        HWND edit = dialog.GetDlgItemHwnd(IDC_EDIT);
        EXPECT_TRUE(tooltip.AddTool(edit, L"Source unit"));
        tooltip.UpdateTipText(L"Source unit: metre", edit);
        wchar_t text[80] = {};
        TOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.hwnd = dialog.m_hWnd;
        info.uId = reinterpret_cast<UINT_PTR>(edit);
        info.lpszText = text;
        tooltip.SendMessage(TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, L"Source unit: metre");
    }
    EXPECT_FALSE(::IsWindow(tip));
}

// A tip's byte buffer holds whole characters only, however many bytes each takes.
TEST(ToolTip, NarrowTipTextIsCutAtAWholeCharacter)
{
    struct Case
    {
        UINT codePage;
        std::wstring text;
        int nExpectedChars;
        int nExpectedBytes;
    } cases[] = {
        {1252, std::wstring(100, L'\u00df'), 79, 79},
        {932, std::wstring(100, L'\u9577'), 39, 78},                 // two bytes a character
        {932, L"m: " + std::wstring(100, L'\u9577'), 41, 79},         // mixed widths
        {CP_UTF8, std::wstring(77, L'a') + L"\U0001F600b", 77, 77},   // no half of a pair
        {CP_UTF8, L"short", 5, 5},
    };
    for (const Case& c : cases)
    {
        char buffer[80];
        std::fill(std::begin(buffer), std::end(buffer), 'x');
        const int nBytes = AfxCopyTipTextA(c.text, buffer, 80, c.codePage);
        EXPECT_EQ(nBytes, c.nExpectedBytes) << c.codePage;
        EXPECT_EQ(buffer[nBytes], '\0');
        wchar_t wide[80] = {};
        const int nChars = ::MultiByteToWideChar(c.codePage, 0, buffer, nBytes, wide, 80);
        EXPECT_EQ(std::wstring(wide, static_cast<std::size_t>(nChars)),
                  c.text.substr(0, static_cast<std::size_t>(c.nExpectedChars)))
            << c.codePage;
    }
}
