// The real main window on a real catalogue file beside the test program.
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalScript.h"

#include "app/AboutDlg.h"
#include "app/MainApp.h"
#include "app/MainDlg.h"

#include "framework/Gdi.h"
#include "framework/ImageList.h"
#include "framework/ModalSeam.h"

#include "res/resource.h"

#include "store/DaoDatabase.h"
#include "store/Utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace
{
class MainWindowTest : public ::testing::Test
{
protected:
    CatalogueBesideProgram catalogue;
    ScriptedMessageBoxes boxes;
};
} // namespace

TEST_F(MainWindowTest, StartsOnTheMarkedCategoryWithItsUnitsAndResults)
{
    catalogue.Write(SampleCategories());
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());

    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(RowTexts(CategoryList(dlg)),
              (std::vector<std::wstring>{L"Currency (2026-07-06)", L"Length", L"Mass"}));
    EXPECT_EQ(SelectedRow(CategoryList(dlg)), 1);
    EXPECT_EQ(dlg.GetCatalogue().CategoryId(), 2);
    EXPECT_EQ(dlg.GetCatalogue().Categories().m_CategoryName, L"Length");

    // Units by name, whatever their case; the current unit is selected.
    EXPECT_EQ(RowTexts(UnitList(dlg)),
              (std::vector<std::wstring>{L"foot", L"Inch", L"Kilometre", L"metre"}));
    EXPECT_EQ(RowTexts(UnitList(dlg), 1),
              (std::vector<std::wstring>{L"0.3048", L"0.0254", L"1000", L"1"}));
    EXPECT_EQ(SelectedRow(UnitList(dlg)), 0);

    // Only the units shown in the result list; the target unit is selected.
    EXPECT_EQ(RowTexts(ResultList(dlg)),
              (std::vector<std::wstring>{L"foot", L"Kilometre", L"metre"}));
    EXPECT_EQ(SelectedRow(ResultList(dlg)), 1);
    EXPECT_EQ(SourceUnitField(dlg).GetWindowText(), L"metre");
    dlg.DestroyWindow();
}

// Stored values may be stale (a catalogue from an older build, factors edited elsewhere):
// what a chosen category shows is its value converted now, never what was stored before.
TEST_F(MainWindowTest, EveryStarterCategoryShowsItsValueConvertedWhenChosen)
{
    WriteBytes(catalogue.MdbPath(), ReadBytes(FromUtf8(KALVO_STARTER_CATALOGUE)));
    {
        CDaoDatabase database;
        database.Open(catalogue.MdbPath());
        database.Execute(L"UPDATE Units SET UserValue = 0 WHERE UnitId NOT IN "
                         L"(SELECT SourceUnitId FROM Category)");
    }
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    const int nCategories = CategoryList(dlg).GetItemCount();
    ASSERT_GE(nCategories, 25);
    int nRows = 0;
    for (int row = 0; row < nCategories; ++row)
    {
        CategoryList(dlg).SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED,
                                        LVIS_SELECTED | LVIS_FOCUSED);
        ASSERT_EQ(SelectedRow(CategoryList(dlg)), row);
        nRows += ResultList(dlg).GetItemCount();
        EXPECT_EQ(WrongResultRows(dlg), std::vector<std::wstring>{})
            << ToUtf8(dlg.GetCatalogue().Categories().m_CategoryName);
    }
    EXPECT_GE(nRows, 150);
    EXPECT_TRUE(boxes.boxes.empty());
    dlg.DestroyWindow();
}

TEST_F(MainWindowTest, ClientAreaAndControlsHaveTheirFixedPlaces)
{
    catalogue.Write(SampleCategories());
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    RECT client;
    dlg.GetClientRect(&client);
    EXPECT_EQ(client.right, Scaled(638));
    EXPECT_EQ(client.bottom, Scaled(431));

    RECT list;
    ::GetWindowRect(ResultList(dlg).m_hWnd, &list);
    ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<POINT*>(&list), 2);
    const RECT expected = ScaledRect(375, 53, 237, 221);
    EXPECT_EQ(list.left, expected.left);
    EXPECT_EQ(list.top, expected.top);
    EXPECT_EQ(list.right - list.left, expected.right - expected.left);
    EXPECT_EQ(list.bottom - list.top, expected.bottom - expected.top);
    dlg.DestroyWindow();
}

TEST_F(MainWindowTest, CategoryIconsFallBackToTheDefaultIcon)
{
    catalogue.Write(SampleCategories());
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    // Mass names icon 4242, which does not exist: the folder icon stands in for it.
    auto images = [&](int nList) {
        return ImageList_GetImageCount(ListView_GetImageList(CategoryList(dlg).m_hWnd, nList));
    };
    EXPECT_EQ(images(LVSIL_SMALL), 3);
    EXPECT_EQ(images(LVSIL_NORMAL), 3);
    // A refill, and a category with an icon already shown, add no image.
    dlg.GetCatalogue().Database().Execute(L"UPDATE Category SET IconId = 4242 WHERE CategoryId = 1");
    dlg.SendMessage(WM_COMMAND, ID_SORT_DEFAULT);
    EXPECT_EQ(images(LVSIL_SMALL), 3);
    EXPECT_EQ(CategoryList(dlg).GetItemImage(0), CategoryList(dlg).GetItemImage(2));
    dlg.DestroyWindow();
}

// The icons go into the image lists from their stored rows; drawn, each must look exactly as
// the system's own icon of that size, over a light and a dark ground (which shows the mask).
TEST(CategoryIcons, StoredRowsDrawAsTheSystemsIconOfEachSize)
{
    HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
    for (const int nSize : {16, 32})
    {
        CImageList fromRows;
        CImageList fromIcons;
        ASSERT_TRUE(fromRows.Create(nSize, nSize, ILC_COLORDDB | ILC_MASK, 4, 4));
        ASSERT_TRUE(fromIcons.Create(nSize, nSize, ILC_COLORDDB | ILC_MASK, 4, 4));
        std::vector<int> ids{IDI_APPLICATION_ICON};  // 256 colours: a colour table
        for (const int nId : {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1010, 1018, 1021,
                              1026, 1033, 1037, 1041, 1043, 1049, 1055, 1056, 1059, 1068})
            ids.push_back(nId);
        for (const int nId : ids)
        {
            HICON hIcon = static_cast<HICON>(
                ::LoadImageW(hInstance, MAKEINTRESOURCEW(nId), IMAGE_ICON, nSize, nSize, 0));
            ASSERT_NE(hIcon, nullptr) << nId;
            const int nImage = fromRows.AddIconResource(hInstance, static_cast<UINT>(nId));
            EXPECT_EQ(nImage, fromIcons.Add(hIcon)) << nId;
            ::DestroyIcon(hIcon);
        }
        EXPECT_EQ(fromRows.AddIconResource(hInstance, 4242), -1) << "no such icon";

        HDC screen = ::GetDC(nullptr);
        CMemoryDC canvas;
        canvas.CreateCompatibleDC(screen);
        CGdiBitmap pixels;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2 * nSize, nSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* pBits = nullptr;
        ASSERT_TRUE(pixels.CreateDIBSection(&info, &pBits));
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ hPrevious = ::SelectObject(canvas, pixels);
        for (std::size_t i = 0; i < ids.size(); ++i)
            for (const COLORREF ground : {RGB(255, 255, 231), RGB(0, 0, 0)})
            {
                const RECT all{0, 0, 2 * nSize, nSize};
                CGdiBrush brush;
                brush.CreateSolidBrush(ground);
                ::FillRect(canvas, &all, brush);
                ::ImageList_Draw(fromRows, static_cast<int>(i), canvas, 0, 0, ILD_NORMAL);
                ::ImageList_Draw(fromIcons, static_cast<int>(i), canvas, nSize, 0, ILD_NORMAL);
                ::GdiFlush();
                const auto* pRow = static_cast<const std::uint32_t*>(pBits);
                int nDifferent = 0;
                for (int y = 0; y < nSize; ++y)
                    for (int x = 0; x < nSize; ++x)
                        nDifferent += pRow[y * 2 * nSize + x] != pRow[y * 2 * nSize + nSize + x];
                EXPECT_EQ(nDifferent, 0) << "icon " << ids[i] << " at " << nSize;
            }
        ::SelectObject(canvas, hPrevious);
    }
}

TEST_F(MainWindowTest, NoMarkedCategoryStartsOnTheFirstRow)
{
    auto categories = SampleCategories();
    for (auto& category : categories)
        category.isSelected = false;
    catalogue.Write(categories);
    {
        CMainDlg dlg;
        ASSERT_TRUE(dlg.Create());
        EXPECT_EQ(SelectedRow(CategoryList(dlg)), 0);
        EXPECT_EQ(dlg.GetCatalogue().CategoryId(), 1);
        dlg.DestroyWindow();
    }
    EXPECT_EQ(catalogue.Int("SELECT group_concat(CategoryId) FROM Category WHERE IsSelected"), 1);
}

TEST_F(MainWindowTest, EmptyCatalogueLeavesEveryListEmpty)
{
    catalogue.Write({});
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(dlg.GetCatalogue().CategoryId(), 2);
    EXPECT_EQ(CategoryList(dlg).GetItemCount(), 0);
    EXPECT_EQ(UnitList(dlg).GetItemCount(), 0);
    EXPECT_EQ(ResultList(dlg).GetItemCount(), 0);
    EXPECT_EQ(SourceUnitField(dlg).GetWindowText(), L"");
    dlg.DestroyWindow();
}

TEST_F(MainWindowTest, CategoryWithoutUnitsKeepsItsSourceUnit)
{
    auto categories = SampleCategories();
    categories[1].units.clear();
    catalogue.Write(categories);
    {
        CMainDlg dlg;
        ASSERT_TRUE(dlg.Create());
        EXPECT_EQ(UnitList(dlg).GetItemCount(), 0);
        EXPECT_EQ(ResultList(dlg).GetItemCount(), 0);
        EXPECT_EQ(SourceUnitField(dlg).GetWindowText(), L"");
        dlg.DestroyWindow();
    }
    EXPECT_EQ(catalogue.Int("SELECT SourceUnitId FROM Category WHERE CategoryId = 2"), 0);
}

TEST_F(MainWindowTest, SourceUnitOfAnotherCategoryIsRepairedAndStored)
{
    catalogue.Write(SampleCategories());
    {
        CMainDlg dlg;
        ASSERT_TRUE(dlg.Create());
        dlg.GetCatalogue().Categories().Edit();
        dlg.GetCatalogue().Categories().m_SourceUnitId = 1; // the euro
        dlg.GetCatalogue().Categories().Update();
        dlg.SendMessage(WM_COMMAND, ID_SORT_DEFAULT); // the category shown again
        // The unit the unit set stands on (the current unit, "foot") becomes the source.
        EXPECT_EQ(SourceUnitField(dlg).GetWindowText(), L"foot");
        dlg.DestroyWindow();
    }
    EXPECT_EQ(catalogue.Int("SELECT UnitName = 'foot' FROM Units WHERE UnitId = "
                           "(SELECT SourceUnitId FROM Category WHERE CategoryId = 2)"),
              1);
}

TEST_F(MainWindowTest, EnterLeavesTheWindowOpenAndExitClosesAndCompacts)
{
    catalogue.Write(SampleCategories());
    bool bOpenAfterEnter = false;
    INT_PTR result = 0;
    {
        CMainDlg dlg;
        result = RunModalScript(dlg, {[&] {
                                          // Free pages for the compaction at exit to reclaim.
                                          dlg.GetCatalogue().Database().Execute(
                                              L"CREATE TABLE Scratch(x); "
                                              L"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                              L"SELECT i + 1 FROM n WHERE i < 2000) "
                                              L"INSERT INTO Scratch SELECT randomblob(200) "
                                              L"FROM n; DROP TABLE Scratch;");
                                          CategoryList(dlg).SetFocus();
                                          PressKey(VK_RETURN);
                                      },
                                      [&] {
                                          bOpenAfterEnter = ::IsWindowVisible(dlg.m_hWnd);
                                          ClickButton(dlg, IDCANCEL);
                                      }});
    }
    EXPECT_TRUE(bOpenAfterEnter);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(catalogue.Int("PRAGMA freelist_count"), 0);
    EXPECT_EQ(catalogue.Int("SELECT count(*) FROM Units"), 7);
    EXPECT_EQ(::GetFileAttributesW((catalogue.MdbPath() + L"-wal").c_str()), INVALID_FILE_ATTRIBUTES);
}

// F1 goes from the focused control through WM_HELP to the main window's Help command, which
// only the application object answers.
TEST_F(MainWindowTest, F1WithoutAHelpFileShowsTheAboutBox)
{
    catalogue.Write(SampleCategories());
    CMainApp app;
    CMainDlg dlg;
    app.m_pMainWnd = &dlg;
    int nAboutShown = 0;
    std::optional<ScopedModalDialogHandler> aboutHandler;
    RunModalScript(dlg, {[&] {
                             aboutHandler.emplace([&](CDialog& shown) {
                                 if (dynamic_cast<CAboutDlg*>(&shown))
                                     ++nAboutShown;
                                 shown.EndDialog(IDOK);
                             });
                             TypeKeyOnKeyboard(VK_F1);
                         },
                         [&] {
                             // As while a property dialog is open over it.
                             dlg.EnableWindow(FALSE);
                             TypeKeyOnKeyboard(VK_F1);
                         },
                         [&] {
                             dlg.EnableWindow(TRUE);
                             aboutHandler.reset();
                         }});
    app.m_pMainWnd = nullptr;
    EXPECT_EQ(nAboutShown, 1);
}

TEST_F(MainWindowTest, MissingCatalogueIsReportedAndEndsTheWindow)
{
    CMainDlg dlg;
    const INT_PTR result = dlg.DoModal();
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text,
              L"Error loading Kalvo.dat\n\nYou can reinstall Kalvo to fix units database.");
    EXPECT_EQ(boxes.boxes[1].caption, L"Kalvo");
    EXPECT_TRUE(boxes.boxes[1].type & MB_ICONEXCLAMATION);
    EXPECT_EQ(::GetFileAttributesW(catalogue.MdbPath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW(catalogue.DatPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindowTest, FileThatIsNoDatabaseIsReportedAndLeftAlone)
{
    const std::string garbage = "This is not a database, but somebody's notes.\n";
    WriteBytes(catalogue.DatPath(), garbage);
    {
        CMainDlg dlg;
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    ASSERT_EQ(boxes.boxes.size(), 2u);
    // The engine's own words and code first, then the program's message.
    EXPECT_NE(boxes.boxes[0].text.find(L"   ("), std::wstring::npos);
    EXPECT_EQ(boxes.boxes[1].text,
              L"Error loading Kalvo.dat\n\nYou can reinstall Kalvo to fix units database.");
    EXPECT_EQ(ReadBytes(catalogue.DatPath()), garbage);
}
