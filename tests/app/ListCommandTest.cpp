// Selections and list commands on the real main window, checked in the lists, the status
// line, the title and the catalogue.
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalScript.h"

#include "app/MainDlg.h"

#include "framework/Clipboard.h"

#include <gtest/gtest.h>

namespace
{
int RowOf(CListCtrl& list, const std::wstring& text)
{
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (list.GetItemText(i, 0) == text)
            return i;
    return -1;
}

void Select(CListCtrl& list, int row)
{
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

using ListCommandTest = SampleCatalogueTest;
} // namespace

TEST_F(ListCommandTest, EnterOnTheUnitListShowsTheUnitInTheResultListAndKeepsTheWindowOpen)
{
    CMainDlg dlg;
    std::vector<std::wstring> results;
    bool bOpen = false;
    RunModalScript(dlg, {[&] {
                             UnitList(dlg).SetFocus();
                             Select(UnitList(dlg), RowOf(UnitList(dlg), L"Inch"));
                         },
                         [] { PressKey(VK_RETURN); },
                         [&] {
                             results = RowTexts(ResultList(dlg));
                             bOpen = dlg.IsWindowVisible() != FALSE;
                         }});
    EXPECT_TRUE(bOpen);
    EXPECT_EQ(results, (std::vector<std::wstring>{L"foot", L"Inch", L"Kilometre", L"metre"}));
}

TEST_F(ListCommandTest, SelectingACategoryRestoresItsUnitsResultsValueAndTitle)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    Select(CategoryList(dlg), 0);
    EXPECT_EQ(dlg.GetCatalogue().CategoryId(), 1);
    EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - Currency (2026-07-06)");
    EXPECT_EQ(RowTexts(UnitList(dlg)),
              (std::vector<std::wstring>{L"Euro  (EUR)", L"US dollar  (USD)"}));
    EXPECT_EQ(ValueField(dlg).GetWindowText(), L"1");

    Select(CategoryList(dlg), 2); // Mass: one unit, shown
    EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - Mass");
    EXPECT_EQ(StatusField(dlg).GetWindowText(), L"Kilogram: 1");
    dlg.DestroyWindow();
    EXPECT_EQ(catalogue.Int("SELECT CategoryId FROM Category WHERE IsSelected"), 3);
}

TEST_F(ListCommandTest, HideSelectsTheNextRowOrTheOneBeforeTheLast)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    // Results: foot, Kilometre, metre. Hide foot: Kilometre becomes the target.
    Select(ResultList(dlg), 0);
    dlg.SendMessage(WM_COMMAND, ID_RESULT_HIDE);
    EXPECT_EQ(RowTexts(ResultList(dlg)), (std::vector<std::wstring>{L"Kilometre", L"metre"}));
    EXPECT_EQ(ResultList(dlg).GetNextItem(-1, LVNI_SELECTED), 0);
    // Hide the last row: the one before it is selected.
    Select(ResultList(dlg), 1);
    dlg.SendMessage(WM_COMMAND, ID_RESULT_HIDE);
    EXPECT_EQ(RowTexts(ResultList(dlg)), (std::vector<std::wstring>{L"Kilometre"}));
    EXPECT_EQ(ResultList(dlg).GetNextItem(-1, LVNI_SELECTED), 0);
    dlg.DestroyWindow();
    EXPECT_EQ(catalogue.Int("SELECT count(*) FROM Units WHERE CategoryId = 2 AND IsSelected"), 1);
}

TEST_F(ListCommandTest, SetAsSourceKeepsTheQuantityAndCopyValueTakesTheResult)
{
    CMainDlg dlg;
    std::wstring sameSource, shownAfterSource, copied, sourceName;
    bool bEditFocused = false;
    RunModalScript(dlg, {[] { PressKey(VK_ESCAPE); },
                         [] { TypeChars(L"2.50"); },
                         [&] {
                             // The source again: the value shows without its trailing zero.
                             Select(ResultList(dlg), RowOf(ResultList(dlg), L"metre"));
                             dlg.SendMessage(WM_COMMAND, ID_RESULT_SET_AS_SOURCE);
                             sameSource = ValueField(dlg).GetWindowText();
                             Select(ResultList(dlg), RowOf(ResultList(dlg), L"Kilometre"));
                             dlg.SendMessage(WM_COMMAND, ID_RESULT_SET_AS_SOURCE);
                             shownAfterSource = ValueField(dlg).GetWindowText();
                             sourceName = SourceUnitField(dlg).GetWindowText();
                             Select(ResultList(dlg), RowOf(ResultList(dlg), L"metre"));
                             dlg.SendMessage(WM_COMMAND, ID_RESULT_COPY_VALUE);
                             copied = GetClipboardText(dlg.m_hWnd);
                             bEditFocused = ::GetFocus() == dlg.GetDlgItemHwnd(IDC_EDIT_UNIT);
                         }});
    EXPECT_EQ(sameSource, L"2.5");
    EXPECT_EQ(shownAfterSource, L"0.0025000000000000001") << "17 digits of the stored double";
    EXPECT_EQ(sourceName, L"Kilometre");
    EXPECT_EQ(copied, L"2.5") << "the metres are unchanged by the new source";
    EXPECT_TRUE(bEditFocused) << "Copy value moves the focus to the unit Edit button first";
}

// Nothing to act on: no error box, and no unit of another category becomes the source.
TEST_F(ListCommandTest, EnterAndDoubleClicksOnEmptyListsDoNothing)
{
    {
        CMainDlg writer;
        ASSERT_TRUE(writer.Create());
        writer.GetCatalogue().Database().Execute(L"INSERT INTO Category (CategoryName) VALUES ('Empty')");
        writer.DestroyWindow();
    }
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    Select(CategoryList(dlg), RowOf(CategoryList(dlg), L"Empty"));
    ASSERT_EQ(UnitList(dlg).GetItemCount(), 0);
    const std::pair<int, UINT> activations[] = {
        {IDC_UNIT_LIST, NM_RETURN}, {IDC_UNIT_LIST, NM_DBLCLK}, {IDC_RESULT_LIST, NM_DBLCLK}};
    for (const auto& [id, code] : activations)
    {
        NMITEMACTIVATE activate{};
        activate.hdr.hwndFrom = dlg.GetDlgItemHwnd(id);
        activate.hdr.idFrom = static_cast<UINT_PTR>(id);
        activate.hdr.code = code;
        activate.iItem = -1;
        dlg.SendMessage(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&activate));
    }
    dlg.DestroyWindow();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(
        catalogue.Int("SELECT ifnull(SourceUnitId, 0) FROM Category WHERE CategoryName = 'Empty'"),
        0);
}

TEST_F(ListCommandTest, SortCommandsOrderTheCategoriesUntilTheNextStart)
{
    {
        CMainDlg dlg;
        ASSERT_TRUE(dlg.Create());
        dlg.SendMessage(WM_COMMAND, ID_SORT_REVERSE);
        EXPECT_EQ(RowTexts(CategoryList(dlg)),
                  (std::vector<std::wstring>{L"Mass", L"Length", L"Currency (2026-07-06)"}));
        EXPECT_EQ(dlg.GetCatalogue().CategoryId(), 2) << "the current category stays current";
        dlg.SendMessage(WM_COMMAND, ID_SORT_ALPHABETICAL);
        EXPECT_EQ(RowTexts(CategoryList(dlg)).front(), L"Currency (2026-07-06)");
        dlg.DestroyWindow();
    }
    CMainDlg again;
    ASSERT_TRUE(again.Create());
    EXPECT_EQ(RowTexts(CategoryList(again)),
              (std::vector<std::wstring>{L"Currency (2026-07-06)", L"Length", L"Mass"}));
    again.DestroyWindow();
}

TEST_F(ListCommandTest, CopyValuePlacesTheResultsWideText)
{
    // The value the source unit holds is restored at start and converted into kilometres.
    auto kilometresCopiedFor = [&](const wchar_t* metres) {
        {
            CMainDlg writer;
            EXPECT_TRUE(writer.Create());
            writer.GetCatalogue().Database().Execute(std::wstring(L"UPDATE Units SET UserValue = ") + metres +
                                        L" WHERE UnitName = 'metre'");
            writer.DestroyWindow();
        }
        CMainDlg dlg;
        EXPECT_TRUE(dlg.Create());
        Select(ResultList(dlg), RowOf(ResultList(dlg), L"Kilometre"));
        dlg.SendMessage(WM_COMMAND, ID_RESULT_COPY_VALUE);
        const std::wstring copied = GetClipboardText(dlg.m_hWnd);
        dlg.DestroyWindow();
        return copied;
    };
    EXPECT_EQ(kilometresCopiedFor(L"50"), L"0.050000000000000003") << "17 digits of 0.05";
    EXPECT_EQ(kilometresCopiedFor(L"2500"), L"2.5");
}
